/* The whole public interface of the Fortran 90/95 intrinsic run-time library
 * for i386 Linux: every header of include/f90/, and the version.
 *
 * Libraries: libf90elem (scalar elementals, INTEGER*8 and REAL*16
 * arithmetic), libf90intr (array and other intrinsic procedures) and
 * libf90rt (the companion runtime). A program links all three; see the
 * README for the link order and for installing its own _lerror. */
#ifndef F90_F90_H
#define F90_F90_H

/* Version of the headers and libraries. The SONAME (libf90elem.so.N ...) and
 * the symbol version nodes (LIBF90ELEM_N ...) carry the major number. */
#define F90_VERSION_MAJOR 0
#define F90_VERSION_MINOR 1
#define F90_VERSION_PATCH 0
#define F90_VERSION_STRING "0.1.0"
/* One comparable number: 10000 * major + 100 * minor + patch. */
#define F90_VERSION (F90_VERSION_MAJOR * 10000 + F90_VERSION_MINOR * 100 + F90_VERSION_PATCH)

#include "f90/values.h"
#include "f90/descriptor.h"
#include "f90/messages.h"
#include "f90/runtime.h"
#include "f90/elemental.h"
#include "f90/array.h"
#include "f90/reductions.h"
#include "f90/matmul.h"
#include "f90/dotprod.h"
#include "f90/character.h"
#include "f90/clock.h"
#include "f90/model.h"
#include "f90/ieee.h"

#endif
