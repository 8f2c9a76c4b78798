/* Counts the frames a GLUT program shows in its first window (the graphics
 * window; the panel's frames are not counted): preloaded, it wraps
 * glutSwapBuffers and writes the running count to the file named by
 * KX_FRAME_COUNT_FILE every tenth frame (and at the first). Used by
 * tools/measure.sh to tell the frame rate of a running program.
 *   cc -shared -fPIC -O2 -o frame-probe.so frame-probe.c -ldl */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

void glutSwapBuffers(void)
{
    static void (*real)(void);
    static int (*window)(void);
    static unsigned long frames;
    if (!real) {
        real = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
        window = (int (*)(void))dlsym(RTLD_NEXT, "glutGetWindow");
    }
    real();
    if (window() != 1)
        return;
    if (++frames % 10 == 1) {
        const char* name = getenv("KX_FRAME_COUNT_FILE");
        FILE* f = name ? fopen(name, "w") : NULL;
        if (f) {
            fprintf(f, "%lu\n", frames);
            fclose(f);
        }
    }
}
