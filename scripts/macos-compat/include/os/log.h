// Stand-in for macOS's <os/log.h> (macOS 10.12 and later; a 10.11 build must not call it
// unguarded). The log macros take a string-literal format as Apple's do; the privacy markers
// such as %{public}s are not checked here.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Apple: typedef struct os_log_s *os_log_t; (an OS_OBJECT pointer)
typedef struct os_log_s* os_log_t;
// Apple: extern struct os_log_s _os_log_default; and OS_LOG_DEFAULT names it.
extern struct os_log_s _os_log_default;
#define OS_LOG_DEFAULT (&_os_log_default)

// Apple: os_log_t os_log_create(const char *subsystem, const char *category);
os_log_t os_log_create(const char* subsystem, const char* category);

// Apple's macros expand to _os_log_impl(&__dso_handle, log, type, format, buffer, size); one
// variadic declaration stands in for that call.
// Apple: OS_ENUM(os_log_type, uint8_t, OS_LOG_TYPE_DEFAULT = 0x00, OS_LOG_TYPE_INFO = 0x01,
//        OS_LOG_TYPE_DEBUG = 0x02, OS_LOG_TYPE_ERROR = 0x10, OS_LOG_TYPE_FAULT = 0x11);
typedef enum : uint8_t {
  OS_LOG_TYPE_DEFAULT = 0x00,
  OS_LOG_TYPE_INFO = 0x01,
  OS_LOG_TYPE_DEBUG = 0x02,
  OS_LOG_TYPE_ERROR = 0x10,
  OS_LOG_TYPE_FAULT = 0x11,
} os_log_type_t;
void tarq_os_log_stand_in(os_log_t log, os_log_type_t type, const char* format, ...);

#define os_log_with_type(log, type, format, ...) \
  tarq_os_log_stand_in(log, type, "" format, ##__VA_ARGS__)
#define os_log(log, format, ...) os_log_with_type(log, OS_LOG_TYPE_DEFAULT, format, ##__VA_ARGS__)
#define os_log_info(log, format, ...) os_log_with_type(log, OS_LOG_TYPE_INFO, format, ##__VA_ARGS__)
#define os_log_debug(log, format, ...) \
  os_log_with_type(log, OS_LOG_TYPE_DEBUG, format, ##__VA_ARGS__)
#define os_log_error(log, format, ...) \
  os_log_with_type(log, OS_LOG_TYPE_ERROR, format, ##__VA_ARGS__)
#define os_log_fault(log, format, ...) \
  os_log_with_type(log, OS_LOG_TYPE_FAULT, format, ##__VA_ARGS__)

#ifdef __cplusplus
}
#endif
