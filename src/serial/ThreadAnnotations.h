// Which lock guards a member, written where the member is declared. Clang's
// thread-safety analysis can check it; other compilers ignore it.
#pragma once

#if defined(__clang__)
#define VRL_GUARDED_BY(lock) __attribute__((guarded_by(lock)))
#else
#define VRL_GUARDED_BY(lock)
#endif
