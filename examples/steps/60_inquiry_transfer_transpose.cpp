// Step 60: array inquiry, allocation status, TRANSFER and TRANSPOSE over
// descriptors built the way compiled code builds them; results the library
// allocates pass to the program, which frees them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "f90/f90.h"
#include "demo.h"
#include "f90/descriptor.h"

// The entry points, bound by their symbols.

namespace {

const uint32_t kInt4 = f90_type_word(TYPE_INTEGER, 32, 0, 0);
const uint32_t kReal4 = f90_type_word(TYPE_REAL, 32, 0, 0);
const uint32_t kReal8 = f90_type_word(TYPE_REAL, 64, 0, 0);
const uint32_t kChar = f90_type_word(TYPE_CHARACTER, 8, 0, 0);

ArrayDescriptor make(void* base, uint32_t elem_len, uint32_t type_word, int rank, uint32_t assoc,
                     uint32_t obj_kind = OBJ_PLAIN) {
  ArrayDescriptor d;
  std::memset(&d, 0, sizeof d);
  d.base = base;
  d.elem_len = elem_len;
  d.type_word = type_word;
  d.flags = f90_flags(static_cast<uint32_t>(rank), assoc, obj_kind);
  return d;
}

void print_int_result(const char* what, const ArrayDescriptor& r) {
  std::printf("%-28s (", what);
  const int32_t* v = static_cast<const int32_t*>(r.base);
  for (int i = 0; i < r.dim[0].extent; ++i) std::printf(i ? ", %d" : "%d", v[i]);
  std::printf(")\n");
  std::free(r.alloc_base);
}

}  // namespace

DEMO_STEP(60, "array inquiry, allocation status, TRANSFER and TRANSPOSE") {
  // REAL(8), ALLOCATABLE :: a(:,:);  ALLOCATE (a(0:2, -1:2))
  double a_storage[12];
  for (int k = 0; k < 12; ++k) a_storage[k] = k;
  ArrayDescriptor a = make(a_storage, 64, kReal8, 2, 1, OBJ_ALLOCATABLE);
  a.dim[0] = {0, 3, 2};  // strides in 32-bit words
  a.dim[1] = {-1, 4, 6};
  const int32_t dim2 = 2;
  std::printf("SIZE(a)                      %d\n", _SIZE(&a, nullptr));
  std::printf("SIZE(a, KIND=8)              %lld\n", static_cast<long long>(_SIZE_8(&a, nullptr)));
  std::printf("UBOUND(a, 2)                 %d\n", _UBOUND0(&a, &dim2));
  ArrayDescriptor r = make(nullptr, 32, kInt4, 1, 0);
  _SHAPE(&r, &a);
  print_int_result("SHAPE(a)", r);
  r = make(nullptr, 32, kInt4, 1, 0);
  _LBOUND(&r, &a);
  print_int_result("LBOUND(a)", r);
  r = make(nullptr, 32, kInt4, 1, 0);
  _UBOUND(&r, &a);
  print_int_result("UBOUND(a)", r);
  std::printf("ALLOCATED(a)                 %d\n", _ALLOCATED(&a));

  // REAL(8), POINTER :: p(:,:);  p => a;  then p => NULL()
  ArrayDescriptor p = a;
  p.flags = f90_flags(2, 1, OBJ_POINTER);
  std::printf("ASSOCIATED(p, a)             %d\n", _ASSOCIATED(&p, &a));
  _NULL(&p, &a);
  std::printf("after p => NULL(): ASSOCIATED(p) %d\n", _ASSOCIATED(&p, nullptr));

  // TRANSFER(1.0, 0) and TRANSFER('abcdef', ['    '])
  float one = 1.0f;
  int32_t zero = 0;
  ArrayDescriptor src = make(&one, 32, kReal4, 0, 1);
  ArrayDescriptor mold = make(&zero, 32, kInt4, 0, 1);
  std::printf("TRANSFER(1.0, 0)             %d\n", _TRANSFER1_0(&src, &mold, nullptr));
  char text[] = "abcdef", blank[] = "    ";
  ArrayDescriptor chars = make(text, 6, kChar, 0, 1);
  ArrayDescriptor cmold = make(blank, 4, kChar, 1, 1);
  cmold.dim[0] = {1, 1, 4};
  ArrayDescriptor cr = make(nullptr, 4, kChar, 1, 0);
  _TRANSFER(&cr, &chars, &cmold, nullptr);
  const char* c = static_cast<const char*>(cr.base);
  std::printf("TRANSFER('abcdef', ['    ']) %d elements: '%.4s', '%.2s' + 2 undefined bytes\n",
              cr.dim[0].extent, c, c + 4);
  std::free(cr.alloc_base);

  // TRANSPOSE(a): a 4 x 3 result
  ArrayDescriptor t = make(nullptr, 64, kReal8, 2, 0);
  _TRANS(&t, &a);
  std::printf("TRANSPOSE(a) is %d x %d:\n", t.dim[0].extent, t.dim[1].extent);
  const double* tv = static_cast<const double*>(t.base);
  for (int i = 0; i < t.dim[0].extent; ++i) {
    std::printf("   ");
    for (int j = 0; j < t.dim[1].extent; ++j) std::printf(" %4.1f", tv[i + j * t.dim[0].extent]);
    std::printf("\n");
  }
  std::free(t.alloc_base);
}
