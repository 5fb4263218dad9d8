#include "tests/support/RealtimeProbe.h"

#include <dlfcn.h>
#include <pthread.h>

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TIDEWALKER_SANITIZED 1
#else
#define TIDEWALKER_SANITIZED 0
#endif

namespace {
thread_local bool armed = false;
thread_local tidewalker::testing::RealtimeCounts counted;

void noteAllocation() {
    if (armed) ++counted.allocations;
}
}  // namespace

namespace tidewalker::testing {

RealtimeProbe::RealtimeProbe() {
    counted = {};
    armed = true;
}

RealtimeProbe::~RealtimeProbe() {
    armed = false;
}

RealtimeCounts RealtimeProbe::counts() const {
    return counted;
}

bool RealtimeProbe::countsMallocAndLocks() {
    return !TIDEWALKER_SANITIZED;
}

}  // namespace tidewalker::testing

void* operator new(std::size_t size) {
    noteAllocation();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    noteAllocation();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

#if !TIDEWALKER_SANITIZED
// The test executable's own definitions win over libc's for every library in
// the process, the plug-in code included.
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);

void* malloc(std::size_t size) {
    noteAllocation();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) {
    noteAllocation();
    return __libc_calloc(count, size);
}

void* realloc(void* p, std::size_t size) {
    noteAllocation();
    return __libc_realloc(p, size);
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using Lock = int (*)(pthread_mutex_t*);
    static Lock next = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (armed) ++counted.locks;
    return next(mutex);
}
}
#endif
