// Stands in for the GNU runtime's objc/runtime.h during the compile check: that
// header dereferences `id` in an inline function and takes `Protocol *` without
// an ownership qualifier, both of which ARC rejects. Declarations only, with the
// runtime's own signatures: the types GNUstep's headers name, and the functions
// our sources call.
#pragma once
#include <objc/objc.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct objc_ivar* Ivar;
typedef struct objc_method* Method;
typedef struct objc_property* objc_property_t;
typedef struct objc_category* Category;

struct objc_method_description {
  SEL name;
  char* types;
};

const char* sel_getName(SEL selector);
BOOL class_addMethod(Class class_, SEL selector, IMP implementation, const char* method_types);
Class objc_allocateClassPair(Class super_class, const char* class_name, size_t extraBytes);
void objc_registerClassPair(Class class_);

#ifdef __cplusplus
}

// The GNU runtime's nil is (id)0, which C++ will not pass where a selector or an
// error pointer is expected; Apple's runtime defines it as C++'s null pointer.
#undef nil
#define nil nullptr
#endif
