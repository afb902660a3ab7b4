#!/bin/sh
# The same summary as summary-jq.sh with sqlite3's JSON functions: the reports are read into an
# in-memory table (readfile and fsdir are part of the sqlite3 shell), then queried.
reports=${1:?usage: summary-sqlite.sh FOLDER-OF-REPORTS}

sqlite3 -batch -tabs :memory: <<SQL
CREATE TABLE report(body TEXT);
INSERT INTO report SELECT readfile(name) FROM fsdir('$reports') WHERE name LIKE '%.json';
SELECT 'Failing checks:';
SELECT count(*), json_extract(c.value, '\$.id') AS check_id
  FROM report, json_each(report.body, '\$.checks') AS c
  WHERE json_extract(c.value, '\$.result') = 'Fail'
  GROUP BY check_id ORDER BY count(*) DESC, check_id;
SELECT 'Not ready:';
SELECT json_extract(body, '\$.machine.hostName') AS host FROM report
  WHERE json_extract(body, '\$.verdict') = 'notReady' ORDER BY host;
SQL
