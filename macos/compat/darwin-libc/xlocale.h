// Apple's libc++ reaches the C library's locale functions through <xlocale.h>; here
// they come from glibc, with the few Apple-only ones declared (never called: the
// check compiles, nothing links).
#pragma once
#include <ctype.h>
#include <locale.h>
#include <stddef.h>
// glibc's macros dereference the locale; Apple's libc++ passes a null one.
#undef isxdigit_l
#undef isdigit_l
#ifdef __cplusplus
extern "C" {
#endif
int sscanf_l(const char*, locale_t, const char*, ...);
int snprintf_l(char*, size_t, locale_t, const char*, ...);
int asprintf_l(char**, locale_t, const char*, ...);
#ifdef __cplusplus
}
#endif
