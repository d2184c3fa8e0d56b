// Helpers for the array-construction tests: every word of a result
// descriptor, and the one block a routine allocated.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "descriptor_builder.h"
#include "recording_runtime.h"

namespace f90test {

// What unallocated_result() leaves in every word the caller does not set.
inline constexpr uint32_t kUnset = 0xDEADBEEF;

// An address as a descriptor word.
inline uint32_t addr_word(const void* p) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

// Expects words 0 .. want.size()-1 of the descriptor to be `want`.
inline void expect_words(const Descriptor& d, const std::vector<uint32_t>& want,
                         const char* what = "") {
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_EQ(d.word(static_cast<int>(i)), want[i]) << what << " word " << i;
}

// The single block the routine allocated (checking its size), or null.
inline unsigned char* only_block(uint32_t want_bytes) {
  EXPECT_EQ(Runtime::allocations().size(), 1u);
  if (Runtime::allocations().size() != 1) return nullptr;
  EXPECT_EQ(Runtime::allocations()[0].bytes, want_bytes);
  return static_cast<unsigned char*>(Runtime::allocations()[0].block);
}

// A fixture that records reports and allocations per test.
class RecordingTest : public ::testing::Test {
 protected:
  RuntimeScope scope;
};

}  // namespace f90test
