// Demo steps register themselves with an order key; main runs them in order.
#pragma once

#include <cstdio>

namespace demo {

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
