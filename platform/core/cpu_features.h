#pragma once

// What the processor offers, asked at run time. The processor is read
// first, so the answers hold also in static initialisers that may run
// before the compiler runtime's own start-up has read it.

inline bool ProcessorHasAvx2()
{
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}
