// This emscripten's C library has no thread names without pthreads; the browser build runs no
// thread that a name would be asked for (sound streams are pumped from the main loop).
#include <pthread.h>

extern "C" int pthread_setname_np(pthread_t, const char*) { return 0; }
