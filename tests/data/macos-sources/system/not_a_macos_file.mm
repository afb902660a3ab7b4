// Not a macOS file by its name, so never compiled by the check, though it would not compile.
int unfinished(
