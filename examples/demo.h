// Demo steps register themselves with an order key; main runs them in order.
#pragma once

#include <cstdint>
#include <cstdio>

#include "f90/descriptor.h"

namespace demo {

// A contiguous rank-2 descriptor of rows x cols elements of `bytes` bytes
// (4 or more), column-major, strides in 32-bit words.
inline ArrayDescriptor field_descriptor(void* base, uint32_t type_code, uint32_t bytes,
                                        int32_t rows, int32_t cols) {
  ArrayDescriptor d{};
  d.base = base;
  d.elem_len = bytes * 8;
  d.flags = f90_flags(2, 1, OBJ_PLAIN);
  d.type_word = f90_type_word(type_code, bytes * 8, 0, 0);
  d.dim[0] = {1, rows, static_cast<int32_t>(bytes / 4)};
  d.dim[1] = {1, cols, static_cast<int32_t>(bytes / 4 * rows)};
  return d;
}

using StepFn = void (*)();

struct Step {
  Step(int order, const char* title, StepFn fn);
};

}  // namespace demo

// DEMO_STEP(order, "title") { ... body ... }
#define DEMO_STEP_CAT_(a, b) a##b
#define DEMO_STEP_CAT(a, b) DEMO_STEP_CAT_(a, b)
#define DEMO_STEP(order, title)                                                         \
  static void DEMO_STEP_CAT(demo_step_, order)();                                       \
  static demo::Step DEMO_STEP_CAT(demo_step_reg_, order)(order, title,                  \
                                                         DEMO_STEP_CAT(demo_step_, order)); \
  static void DEMO_STEP_CAT(demo_step_, order)()
