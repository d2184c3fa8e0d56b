// The companion runtime: reporter levels, allocator, STOP/PAUSE and the x87
// accessors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "control_word.h"
#include "f90/runtime.h"

namespace {

TEST(Lerror, LevelZeroPrintsAndReturns) {
  testing::internal::CaptureStderr();
  _lerror(0, 5000);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("5000"), std::string::npos);
  EXPECT_NE(err.find("level 0"), std::string::npos);
}

TEST(LerrorDeathTest, LevelFourEndsTheProgram) {
  EXPECT_EXIT(_lerror(4, 1405), testing::ExitedWithCode(2), "error 1405 .*DIM argument out of range");
  EXPECT_EXIT(_lerror(4, 1205), testing::ExitedWithCode(2), "error 1205");
}

TEST(Lerror, EveryNumberHasItsOwnText) {
  const int numbers[] = {1205, 1220, 1223, 1405, 1406, 1407, 1408, 1409, 1410,
                         1414, 1415, 1417, 1418, 1419, 1420, 5000, 5001};
  std::set<std::string> texts;
  for (int n : numbers) {
    testing::internal::CaptureStderr();
    _lerror(0, n);
    std::string line = testing::internal::GetCapturedStderr();
    EXPECT_EQ(line.find("unknown"), std::string::npos) << n;
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << n;
    texts.insert(line.substr(line.find(':', 5)));
  }
  EXPECT_EQ(texts.size(), std::size(numbers));
}

TEST(F90Alloc, AlignedAndNonNullForZeroBytes) {
  for (uint32_t bytes : {0u, 1u, 3u, 8u, 24u, 4096u}) {
    void* p = _F90ALLOC(bytes, 0);
    ASSERT_NE(p, nullptr) << bytes;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u) << bytes;
    free(p);
  }
  void* a = _F90ALLOC(0, 0);
  void* b = _F90ALLOC(0, 0);
  EXPECT_NE(a, b);
  free(a);
  free(b);
}

TEST(F90Alloc, HugeRequestReturnsNull) {
  void* p = _F90ALLOC(0xFFFFFFF0u, 0);
  EXPECT_EQ(p, nullptr);
  free(p);
}

TEST(StopDeathTest, PrintsMessageAndExitsZero) {
  EXPECT_EXIT(_STOP("done here", 4), testing::ExitedWithCode(0), "STOP done");
}

TEST(Pause, ReturnsAtEndOfInput) {
  // Standard input replaced by an empty pipe: PAUSE must not wait.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  close(fds[1]);
  const int saved = dup(0);
  dup2(fds[0], 0);
  testing::internal::CaptureStderr();
  _PAUSE("waiting", 7);
  const std::string err = testing::internal::GetCapturedStderr();
  dup2(saved, 0);
  close(saved);
  close(fds[0]);
  clearerr(stdin);
  EXPECT_NE(err.find("PAUSE waiting"), std::string::npos);
}

class Accessors : public f90test::ControlWordTest {};

TEST_F(Accessors, ControlWordRoundTrip) {
  EXPECT_EQ(_morvex_getCW() & 0xffff, 0x127f);
  const int32_t cw = 0x0e7f;  // toward zero... bits 10-11 = 3
  _morvex_setCW(&cw);
  EXPECT_EQ(f90test::get_cw(), 0x0e7f);
  EXPECT_EQ(_morvex_getCW() & 0x0c00, 0x0c00);
}

TEST_F(Accessors, StatusWordFlagsAreSetAndClearedExactly) {
  const int32_t raise = 0x18;  // overflow and underflow
  _morvex_setSW(&raise);
  EXPECT_EQ(_morvex_getSW() & 0x3f, 0x18);
  const int32_t some = 0x21;
  _morvex_setSW(&some);
  EXPECT_EQ(_morvex_getSW() & 0x3f, 0x21);
  const int32_t none = 0;
  _morvex_setSW(&none);
  EXPECT_EQ(_morvex_getSW() & 0x3f, 0);
  EXPECT_EQ(f90test::get_cw(), 0x127f);  // fnstenv masked nothing for good
}

TEST_F(Accessors, InexactOperationRaisesTheFlag) {
  volatile double a = 1.0, b = 3.0;
  volatile double c = a / b;
  (void)c;
  EXPECT_NE(_morvex_getSW() & 0x20, 0);
}

TEST_F(Accessors, CombinedStateRestoresBothWords) {
  const int32_t sw = 0x04;
  _morvex_setSW(&sw);
  const int32_t saved = _morvex_getCSW();
  const int32_t cw = 0x0f7f, none = 0;
  _morvex_setCW(&cw);
  _morvex_setSW(&none);
  _morvex_setCSW(&saved);
  EXPECT_EQ(f90test::get_cw(), 0x127f);
  EXPECT_EQ(_morvex_getSW() & 0x3f, 0x04);
}

// Raising a flag whose exception is unmasked halts at the next operation.
TEST(AccessorsDeathTest, UnmaskedFlagHaltsAtTheNextOperation) {
  EXPECT_EXIT(
      {
        const int32_t cw = 0x127e;  // invalid unmasked
        _morvex_setCW(&cw);
        const int32_t sw = 0x01;
        _morvex_setSW(&sw);
        volatile double x = 1.0;
        x = x + 1.0;
        std::exit(0);
      },
      testing::KilledBySignal(SIGFPE), "");
}

}  // namespace
