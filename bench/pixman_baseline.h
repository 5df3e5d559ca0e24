// pixman, the baseline some benchmarks measure against, wherever its header is installed.
// VREL_HAVE_PIXMAN is defined when it is there.
#pragma once

#if __has_include(<pixman.h>)
#include <pixman.h>
#define VREL_HAVE_PIXMAN 1
#elif __has_include(<pixman-1/pixman.h>)
#include <pixman-1/pixman.h>
#define VREL_HAVE_PIXMAN 1
#endif
