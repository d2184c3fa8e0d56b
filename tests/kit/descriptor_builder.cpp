#include "descriptor_builder.h"

#include <cstdlib>

namespace f90test {

uint32_t ElemType::bytes() const {
  const uint32_t int_len = (type_word >> F90_TW_INT_LEN_SHIFT) & 0xfff;
  switch (code()) {
    case TYPE_CHARACTER: return elem_len;
    case TYPE_DERIVED_BYTES:
    case TYPE_DERIVED_WORDS: return elem_len / 8;
    default: return int_len / 8;
  }
}

uint32_t ElemType::unit() const {
  const uint32_t int_len = (type_word >> F90_TW_INT_LEN_SHIFT) & 0xfff;
  switch (code()) {
    case TYPE_CHARACTER:
    case TYPE_DERIVED_BYTES: return 1;
    case TYPE_DERIVED_WORDS: return 4;
    default: return (int_len == 8 || int_len == 16) ? 1 : 4;
  }
}

Descriptor::Descriptor() { std::memset(&d_, 0, sizeof d_); }

Descriptor::Descriptor(ElemType t, int rank, bool assoc) : Descriptor() {
  d_.elem_len = t.elem_len;
  d_.type_word = t.type_word;
  d_.flags = f90_flags(static_cast<uint32_t>(rank), assoc ? 1u : 0u, OBJ_PLAIN);
}

Descriptor unallocated_result(ElemType t, int rank) {
  Descriptor d;
  std::memset(d.get(), 0xEF, sizeof(ArrayDescriptor));
  uint32_t* w = reinterpret_cast<uint32_t*>(d.get());
  for (int i = 0; i < 27; ++i) w[i] = 0xDEADBEEF;
  d->elem_len = t.elem_len;
  d->type_word = t.type_word;
  d->flags = f90_flags(static_cast<uint32_t>(rank), 0, OBJ_PLAIN);
  return d;
}

TestArray::TestArray(ElemType t, std::vector<int32_t> extents, std::vector<int32_t> lower,
                     std::vector<int32_t> step, uint8_t fill)
    : type_(t), extents_(std::move(extents)), fill_(fill), desc_(t, static_cast<int>(extents_.size()), true) {
  const int r = rank();
  lower.resize(r, 1);
  step.resize(r, 1);
  const int64_t eb = t.bytes();
  int64_t parent_stride = eb;  // bytes between parent elements along dim i
  int64_t parent_bytes = eb;
  byte_strides_.resize(r);
  for (int i = 0; i < r; ++i) {
    const int64_t e = extents_[i] > 0 ? extents_[i] : 0;
    const int64_t s = step[i];
    const int64_t pe = e > 0 ? (e - 1) * std::llabs(s) + 1 : 1;
    byte_strides_[i] = parent_stride * s;
    if (s < 0) base_offset_ += (pe - 1) * parent_stride;
    parent_bytes = parent_stride * pe;
    parent_stride *= pe;
  }
  storage_.assign(static_cast<size_t>(parent_bytes > 0 ? parent_bytes : 1), fill);
  ArrayDescriptor* d = desc_.get();
  d->base = storage_.data() + base_offset_;
  if (t.code() == TYPE_CHARACTER) d->elem_len = t.elem_len;
  const int64_t unit = t.unit();
  for (int i = 0; i < r; ++i) {
    d->dim[i].lower = lower[i];
    d->dim[i].extent = extents_[i];
    d->dim[i].stride = static_cast<int32_t>(byte_strides_[i] / unit);
  }
}

int64_t TestArray::size() const {
  int64_t n = 1;
  for (int32_t e : extents_) n *= e > 0 ? e : 0;
  return n;
}

char* TestArray::at(const std::vector<int64_t>& idx) {
  int64_t off = base_offset_;
  for (int i = 0; i < rank(); ++i) off += idx[i] * byte_strides_[i];
  return reinterpret_cast<char*>(storage_.data()) + off;
}

char* TestArray::at_linear(int64_t k) {
  std::vector<int64_t> idx(rank());
  for (int i = 0; i < rank(); ++i) {
    idx[i] = k % extents_[i];
    k /= extents_[i];
  }
  return at(idx);
}

bool TestArray::outside_untouched() const {
  std::vector<bool> inside(storage_.size(), false);
  auto* self = const_cast<TestArray*>(this);
  for_each_index(extents_, [&](const std::vector<int64_t>& idx) {
    const int64_t off = self->at(idx) - reinterpret_cast<char*>(self->storage_.data());
    for (uint32_t b = 0; b < type_.bytes(); ++b) inside[off + b] = true;
  });
  for (size_t i = 0; i < storage_.size(); ++i)
    if (!inside[i] && storage_[i] != fill_) return false;
  return true;
}

void for_each_index(const std::vector<int32_t>& extents,
                    const std::function<void(const std::vector<int64_t>&)>& f) {
  for (int32_t e : extents)
    if (e <= 0) return;
  std::vector<int64_t> idx(extents.size(), 0);
  while (true) {
    f(idx);
    size_t i = 0;
    for (; i < extents.size(); ++i) {
      if (++idx[i] < extents[i]) break;
      idx[i] = 0;
    }
    if (i == extents.size()) return;
  }
}

}  // namespace f90test
