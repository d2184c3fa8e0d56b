#include "guard_page.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace f90test {

GuardedBuffer::GuardedBuffer(size_t bytes, GuardSide side) : size_(bytes) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t data_pages = (bytes + page - 1) / page;
  map_len_ = (data_pages + 1) * page;
  map_ = mmap(nullptr, map_len_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (map_ == MAP_FAILED) throw std::runtime_error("mmap failed");
  char* const first = static_cast<char*>(map_);
  char* guard = side == GuardSide::after ? first + data_pages * page : first;
  if (mprotect(guard, page, PROT_NONE) != 0) throw std::runtime_error("mprotect failed");
  data_ = side == GuardSide::after ? guard - bytes : guard + page;
}

GuardedBuffer::~GuardedBuffer() { munmap(map_, map_len_); }

GuardedDescriptor::GuardedDescriptor(const ArrayDescriptor* d)
    : buf_(4u * F90_DESCRIPTOR_WORDS(d->flags >> F90_FLAG_RANK_SHIFT)) {
  std::memcpy(buf_.data(), d, buf_.size());
}

}  // namespace f90test
