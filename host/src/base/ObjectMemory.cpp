// Memory for the host's objects (components, controls and the values they hold).
//
// A menu entry is a dozen objects; a big tree is a hundred thousand made at once,
// usually at start in a fresh process, where every page of heap is touched for the
// first time. A first touch costs a page fault, and on a virtual machine that is
// several microseconds: most of a cold build's time went there, not into the
// library's code. The objects are therefore carved from 2 MiB blocks the kernel may
// back with one huge page each (one fault instead of 512), sorted by size into 64 KiB
// runs so that a block needs no header per object: the run an address falls in tells
// its size. A freed object's place goes on its size's list and is taken by the next
// object of that size. The lists objects keep (children, owned components) grow past
// that in powers of two: those sizes up to a whole run come from the blocks too, so
// that a list of a thousand entries touches no page of the process's heap either. The
// blocks are kept for the life of the process, as the process's allocator keeps most of
// what a big tree freed.
//
// Under AddressSanitizer objects come from the process's allocator, so that a use
// after free is still caught.
#include "host/Classes.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <new>
#include <thread>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ZZ_OBJECT_MEMORY_FROM_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZZ_OBJECT_MEMORY_FROM_MALLOC 1
#endif
#endif

namespace fmx::detail {

void* MapHugePages(size_t& Bytes) {
  constexpr size_t Huge = size_t{2} << 20;
  Bytes = (Bytes + Huge - 1) / Huge * Huge;
  // One huge page more than asked, so that an aligned stretch lies inside; the rest goes back.
  const size_t Mapped = Bytes + Huge;
  void* Raw = mmap(nullptr, Mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (Raw == MAP_FAILED) return nullptr;
  const auto Start = reinterpret_cast<uintptr_t>(Raw);
  const uintptr_t Base = (Start + Huge - 1) & ~(Huge - 1);
  if (Base > Start) munmap(Raw, Base - Start);
  if (Start + Mapped > Base + Bytes)
    munmap(reinterpret_cast<void*>(Base + Bytes), Start + Mapped - (Base + Bytes));
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(Base), Bytes, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<void*>(Base);
}

#ifdef ZZ_OBJECT_MEMORY_FROM_MALLOC

void* AllocateObject(size_t Size) { return ::operator new(Size); }
void FreeObject(void* Block) { ::operator delete(Block); }
TObjectMemoryUse ObjectMemoryUse() { return {}; }

#else

namespace {

constexpr uintptr_t BlockSize = uintptr_t{2} << 20;
constexpr uintptr_t RunSize = uintptr_t{64} << 10;
constexpr size_t RunsPerBlock = BlockSize / RunSize;
constexpr size_t Granule = 16;
// Sizes up to here go by granules; above, by powers of two up to a run.
constexpr size_t LargestGranular = 1024;
constexpr size_t GranularClasses = LargestGranular / Granule + 1;
constexpr size_t PowerClasses = 6;  // 2, 4, ... 64 KiB
constexpr size_t LargestSize = LargestGranular << PowerClasses;
static_assert(LargestSize == RunSize);
constexpr size_t SizeClasses = GranularClasses + PowerClasses;

size_t ClassOf(size_t Size) {
  if (Size <= LargestGranular) return std::max<size_t>(1, (Size + Granule - 1) / Granule);
  size_t Class = GranularClasses;
  for (size_t Bytes = LargestGranular * 2; Bytes < Size; Bytes *= 2) ++Class;
  return Class;
}
size_t ClassBytes(size_t Class) {
  return Class < GranularClasses ? Class * Granule : LargestGranular << (Class - GranularClasses + 1);
}

// At the start of each block: the size class of each of its runs (0 for a run not
// yet handed out); the first run's objects start after it.
struct TBlockHeader {
  uint8_t RunClass[RunsPerBlock];
};
constexpr uintptr_t FirstRunStart = (sizeof(TBlockHeader) + Granule - 1) / Granule * Granule;

struct TFreePlace {
  TFreePlace* Next;
};

struct TSizeClass {
  TFreePlace* Free = nullptr;
  char* Next = nullptr;
  char* End = nullptr;
};

class TObjectMemory {
 public:
  void* Allocate(size_t Size) {
    const size_t Class = ClassOf(Size);
    TLock lock(FBusy);
    TSizeClass& C = FClasses[Class];
    const size_t Bytes = ClassBytes(Class);
    FInUse += Bytes;
    if (TFreePlace* P = C.Free) {
      C.Free = P->Next;
      return P;
    }
    // A whole-run size does not fit the first run of a block, behind its header.
    while (C.Next + Bytes > C.End) NewRun(C, Class);
    void* P = C.Next;
    C.Next += Bytes;
    return P;
  }

  // False when Block is not in one of the blocks (it came from the process's allocator).
  bool Free(void* Block) {
    const auto Address = reinterpret_cast<uintptr_t>(Block);
    const uintptr_t Base = Address & ~(BlockSize - 1);
    TLock lock(FBusy);
    if (!Owns(Base)) return false;
    const auto* Header = reinterpret_cast<const TBlockHeader*>(Base);
    const size_t Class = Header->RunClass[(Address - Base) / RunSize];
    FInUse -= ClassBytes(Class);
    auto* P = static_cast<TFreePlace*>(Block);
    P->Next = FClasses[Class].Free;
    FClasses[Class].Free = P;
    return true;
  }

  TObjectMemoryUse Use() {
    TLock lock(FBusy);
    return {FInUse, FBlocks.size() * BlockSize};
  }

 private:
  class TLock {
   public:
    explicit TLock(std::atomic_flag& Flag) : FFlag(Flag) {
      while (FFlag.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    ~TLock() { FFlag.clear(std::memory_order_release); }

   private:
    std::atomic_flag& FFlag;
  };

  bool Owns(uintptr_t Base) const {
    if (Base == FLastBase) return true;
    return std::binary_search(FBlocks.begin(), FBlocks.end(), Base);
  }

  void NewRun(TSizeClass& C, size_t Class) {
    if (FNextRun == RunsPerBlock || FBlocks.empty()) NewBlock();
    auto* Header = reinterpret_cast<TBlockHeader*>(FLastBase);
    Header->RunClass[FNextRun] = static_cast<uint8_t>(Class);
    char* Start = reinterpret_cast<char*>(FLastBase + FNextRun * RunSize);
    C.Next = FNextRun == 0 ? Start + FirstRunStart : Start;
    C.End = Start + RunSize;
    ++FNextRun;
  }

  void NewBlock() {
    size_t bytes = BlockSize;
    void* Mapped = MapHugePages(bytes);
    if (Mapped == nullptr) throw std::bad_alloc();
    const auto Base = reinterpret_cast<uintptr_t>(Mapped);
    FBlocks.insert(std::upper_bound(FBlocks.begin(), FBlocks.end(), Base), Base);
    FLastBase = Base;
    FNextRun = 0;
  }

  std::atomic_flag FBusy = ATOMIC_FLAG_INIT;
  TSizeClass FClasses[SizeClasses];
  std::vector<uintptr_t> FBlocks;  // sorted
  uintptr_t FLastBase = 0;
  size_t FNextRun = RunsPerBlock;
  size_t FInUse = 0;
};

// Never destroyed: objects may be freed by other static objects' destructors.
TObjectMemory& Memory() {
  static auto* M = new TObjectMemory();
  return *M;
}

}  // namespace

void* AllocateObject(size_t Size) {
  if (Size > LargestSize) return ::operator new(Size);
  return Memory().Allocate(Size);
}

void FreeObject(void* Block) {
  if (Block != nullptr && !Memory().Free(Block)) ::operator delete(Block);
}

TObjectMemoryUse ObjectMemoryUse() { return Memory().Use(); }

#endif

}  // namespace fmx::detail
