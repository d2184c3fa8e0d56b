// ASSOCIATED and NULL.
#include "element/association.h"

#include <gtest/gtest.h>

#include "descriptor_builder.h"
#include "guard_page.h"

namespace {

using f90test::ElemType;

// A pointer and a target over the same 4 x 3 REAL*4 storage.
struct Pair {
  float storage[12] = {};
  f90test::Descriptor p{ElemType::real(4), 2, true};
  f90test::Descriptor t{ElemType::real(4), 2, true};
  Pair() {
    for (auto* d : {&p, &t}) {
      (*d)->base = storage;
      (*d)->dim[0] = {1, 4, 1};
      (*d)->dim[1] = {1, 3, 4};
    }
    p->flags = f90_flags(2, 1, OBJ_POINTER);
  }
};

int64_t all_forms(ArrayDescriptor* p, ArrayDescriptor* t) {
  const int32_t a = associated(p, t), b = associated_4(p, t);
  const int64_t c = associated_8(p, t);
  EXPECT_EQ(a, b);
  EXPECT_EQ(int64_t{a}, c);
  return c;
}

TEST(Associated, ComparisonOrderAndFields) {
  struct Case {
    const char* what;
    void (*change)(Pair&);
    bool with_target;
    int64_t want;
  } cases[] = {
      {"same layout", [](Pair&) {}, true, 1},
      {"no target", [](Pair&) {}, false, 1},
      {"other lower bounds", [](Pair& x) { x.t->dim[0].lower = -7; x.t->dim[1].lower = 9; }, true, 1},
      {"pointer disassociated", [](Pair& x) { x.p->flags &= ~F90_FLAG_ASSOC; }, true, 0},
      {"pointer disassociated, no target", [](Pair& x) { x.p->flags &= ~F90_FLAG_ASSOC; }, false, 0},
      // P's obj_kind is not looked at: a plain descriptor with storage counts.
      {"pointer plain", [](Pair& x) { x.p->flags = f90_flags(2, 1, OBJ_PLAIN); }, true, 1},
      {"target a disassociated pointer",
       [](Pair& x) { x.t->flags = f90_flags(2, 0, OBJ_POINTER); }, true, 0},
      // assoc of a target is looked at only when the target is a pointer.
      {"target plain without assoc", [](Pair& x) { x.t->flags = f90_flags(2, 0, OBJ_PLAIN); }, true, 1},
      {"target allocatable without assoc",
       [](Pair& x) { x.t->flags = f90_flags(2, 0, OBJ_ALLOCATABLE); }, true, 1},
      {"other base", [](Pair& x) { x.t->base = x.storage + 1; }, true, 0},
      {"other elem_len", [](Pair& x) { x.t->elem_len = 64; }, true, 0},
      {"other rank", [](Pair& x) { x.t->flags = f90_flags(1, 1, OBJ_PLAIN); }, true, 0},
      {"other type code", [](Pair& x) { x.t->type_word = ElemType::integer(4).type_word; }, true, 0},
      {"same code, other flag bits",
       [](Pair& x) { x.t->type_word |= F90_TW_TYPE_FLAG | (3u << F90_TW_KIND_SEL_SHIFT); }, true, 1},
      {"other stride", [](Pair& x) { x.t->dim[0].stride = 2; }, true, 0},
      {"other extent", [](Pair& x) { x.t->dim[1].extent = 2; }, true, 0},
      {"last stride", [](Pair& x) { x.t->dim[1].stride = 5; }, true, 0},
  };
  for (const auto& c : cases) {
    Pair x;
    c.change(x);
    EXPECT_EQ(all_forms(x.p.get(), c.with_target ? x.t.get() : nullptr), c.want) << c.what;
  }
}

TEST(Associated, RankZeroPairReadsNoDimension) {
  int32_t v = 0;
  f90test::Descriptor p(ElemType::integer(4), 0, true), t(ElemType::integer(4), 0, true);
  p->base = t->base = &v;
  f90test::GuardedDescriptor gp(p.get()), gt(t.get());
  EXPECT_EQ(all_forms(gp.get(), gt.get()), 1);
}

TEST(Null, CopiesMoldAndDisassociates) {
  f90test::TestArray mold(ElemType::character(5), {2, 3, 4}, {0, -1, 5}, {1, -2, 1});
  f90test::Descriptor r(ElemType::integer(4), 1, true);
  uint32_t* words = reinterpret_cast<uint32_t*>(r.get());
  for (int i = 0; i < 27; ++i) words[i] = 0x5A5A0000u + i;
  words[2] = f90_flags(1, 1, OBJ_POINTER) | F90_FLAG_SPARE | 0x00F0F000u;
  f90test::GuardedDescriptor g(mold.desc());
  null_pointer(r.get(), g.get());

  const f90test::Descriptor& m = mold.descriptor();
  EXPECT_EQ(r.word(0), 0u);                      // base: {0, length}
  EXPECT_EQ(r.word(1), 5u);                      // elem_len
  EXPECT_EQ(r.word(2), f90_flags(3, 0, OBJ_POINTER) | F90_FLAG_SPARE | 0x00F0F000u);
  EXPECT_EQ(r.word(3), m.word(3));               // type word
  EXPECT_EQ(r.word(4), 0u);                      // alloc_base
  EXPECT_EQ(r.word(5), 0x5A5A0005u);             // alloc_size kept
  for (int i = 6; i < 15; ++i) EXPECT_EQ(r.word(i), m.word(i)) << i;
  for (int i = 15; i < 27; ++i) EXPECT_EQ(r.word(i), 0x5A5A0000u + i) << i;
  // The result now reads as a disassociated pointer.
  EXPECT_EQ(associated(r.get(), nullptr), 0);
}

}  // namespace
