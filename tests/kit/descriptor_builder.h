// Builds array descriptors of any element type, rank, bounds and strides
// over storage the test owns, the way compiled code lays them out.
//
//   TestArray a(ElemType::integer(4), {3, 4});             // contiguous 3 x 4
//   TestArray s(ElemType::real(8), {5, 2}, {0, 1}, {-2, 1}); // section: every
//       // other element of dimension 1 backwards, lower bounds 0 and 1
//   a.set<int32_t>({1, 2}, 7);  a.get<int32_t>({1, 2});     // 0-based indices
//
// A section is cut from a contiguous parent block: along dimension i with
// step s the parent has (extent - 1) * |s| + 1 elements, and a negative step
// starts at the parent's last element. Everything outside the section keeps
// the fill byte, so stray stores show.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <vector>

#include "f90/descriptor.h"

namespace f90test {

// The bytes at p as a T, and a T's bytes stored at p (any alignment).
template <class T>
T load_bytes(const char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
template <class T>
void store_bytes(char* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

struct ElemType {
  uint32_t type_word;
  uint32_t elem_len;  // bits, or bytes for CHARACTER

  static ElemType integer(int bytes) { return numeric(TYPE_INTEGER, bytes); }
  static ElemType real(int bytes) { return numeric(TYPE_REAL, bytes); }
  static ElemType complex(int bytes) { return numeric(TYPE_COMPLEX, bytes); }
  static ElemType logical(int bytes) { return numeric(TYPE_LOGICAL, bytes); }
  static ElemType character(int len) {
    return {f90_type_word(TYPE_CHARACTER, 8, 0, 0), static_cast<uint32_t>(len)};
  }
  static ElemType derived_bytes(int bytes) {
    return {f90_type_word(TYPE_DERIVED_BYTES, 0, 0, 0), static_cast<uint32_t>(bytes) * 8};
  }
  static ElemType derived_words(int words) {
    return {f90_type_word(TYPE_DERIVED_WORDS, 0, 0, 0), static_cast<uint32_t>(words) * 32};
  }
  static ElemType numeric(int code, int bytes) {
    const uint32_t bits = static_cast<uint32_t>(bytes) * 8;
    return {f90_type_word(static_cast<uint32_t>(code), bits, 0, 0), bits};
  }

  int8_t code() const { return static_cast<int8_t>(type_word & 0xff); }
  // Bytes of one element and of one storage unit.
  uint32_t bytes() const;
  uint32_t unit() const;
};

// The raw words of a descriptor, owned by the test (27 words, rank 0..7).
class Descriptor {
 public:
  Descriptor();
  Descriptor(ElemType t, int rank, bool assoc);
  ArrayDescriptor* get() { return &d_; }
  const ArrayDescriptor* get() const { return &d_; }
  ArrayDescriptor* operator->() { return &d_; }
  int rank() const { return static_cast<int>(d_.flags >> F90_FLAG_RANK_SHIFT); }
  uint32_t word(int i) const {
    uint32_t w;
    std::memcpy(&w, reinterpret_cast<const char*>(&d_) + 4 * i, 4);
    return w;
  }

 private:
  ArrayDescriptor d_;
};

// An unassociated result descriptor: rank, type word and elem_len set, every
// other word filled with 0xDEADBEEF so that words left unwritten show.
Descriptor unallocated_result(ElemType t, int rank);

class TestArray {
 public:
  TestArray(ElemType t, std::vector<int32_t> extents, std::vector<int32_t> lower = {},
            std::vector<int32_t> step = {}, uint8_t fill = 0xAB);
  TestArray(const TestArray&) = delete;
  TestArray& operator=(const TestArray&) = delete;

  ArrayDescriptor* desc() { return desc_.get(); }
  Descriptor& descriptor() { return desc_; }
  ElemType type() const { return type_; }
  int rank() const { return static_cast<int>(extents_.size()); }
  const std::vector<int32_t>& extents() const { return extents_; }
  int64_t size() const;

  // Address of the element with the given 0-based indices.
  char* at(const std::vector<int64_t>& idx);
  // Address of the element at position k in array element order.
  char* at_linear(int64_t k);

  template <class T>
  T get(const std::vector<int64_t>& idx) {
    return load_bytes<T>(at(idx));
  }
  template <class T>
  void set(const std::vector<int64_t>& idx, T v) {
    store_bytes(at(idx), v);
  }
  template <class T>
  T get_linear(int64_t k) {
    return load_bytes<T>(at_linear(k));
  }
  template <class T>
  void set_linear(int64_t k, T v) {
    store_bytes(at_linear(k), v);
  }
  // Fills the elements in array element order with f(k).
  template <class T>
  void fill_linear(const std::function<T(int64_t)>& f) {
    for (int64_t k = 0; k < size(); ++k) set_linear<T>(k, f(k));
  }

  // The parent block, including the bytes outside the section.
  std::vector<unsigned char>& storage() { return storage_; }
  // True when every byte outside the section's elements still holds the fill.
  bool outside_untouched() const;

 private:
  ElemType type_;
  std::vector<int32_t> extents_;
  std::vector<int64_t> byte_strides_;
  std::vector<unsigned char> storage_;
  int64_t base_offset_ = 0;
  uint8_t fill_;
  Descriptor desc_;
};

// Visits every index tuple of the given extents in array element order.
void for_each_index(const std::vector<int32_t>& extents,
                    const std::function<void(const std::vector<int64_t>&)>& f);

}  // namespace f90test
