/* Modem lines for pseudo-terminals, for serial tests under Wine.
 *
 * A pseudo-terminal has no modem lines: TIOCMGET and friends fail on it, and
 * Wine's serial layer then fails EscapeCommFunction and reports idle event
 * waits as done. Preloaded into the Wine process (LD_PRELOAD), this library
 * answers those four requests on every terminal from lines it remembers, so
 * DTR and RTS can be raised and dropped and read back. CTS, DSR and carrier
 * read as on (a peer is there); nothing else changes.
 *
 * When TVCONFIG_TIOCM_LOG names a file, every change of DTR or RTS is
 * appended to it as a line "DTR 1", "RTS 0", ... for a test to read.
 * Every other ioctl goes to the C library unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

static pthread_mutex_t lines_lock = PTHREAD_MUTEX_INITIALIZER;
static int lines = TIOCM_CTS | TIOCM_DSR | TIOCM_CAR;

static ioctl_fn next_ioctl(void) {
    static ioctl_fn next;
    if (!next) next = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
    return next;
}

static void log_change(int before, int after) {
    const char* path = getenv("TVCONFIG_TIOCM_LOG");
    if (!path || !*path) return;
    static const struct {
        int bit;
        const char* name;
    } watched[] = {{TIOCM_DTR, "DTR"}, {TIOCM_RTS, "RTS"}};
    for (size_t i = 0; i < sizeof watched / sizeof watched[0]; ++i) {
        if (!((before ^ after) & watched[i].bit)) continue;
        const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) return;
        char text[16];
        const int n = snprintf(text, sizeof text, "%s %d\n", watched[i].name,
                               (after & watched[i].bit) ? 1 : 0);
        if (write(fd, text, (size_t)n) < 0) { /* a test log: nothing to do */
        }
        close(fd);
    }
}

/* The lines after `request` with the bits in *arg; -1 when not a line request. */
static int apply(unsigned long request, int bits, int before) {
    switch (request) {
        case TIOCMBIS:
            return before | bits;
        case TIOCMBIC:
            return before & ~bits;
        case TIOCMSET:
            return bits;
        default:
            return -1;
    }
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    const int lineRequest =
        request == TIOCMGET || request == TIOCMBIS || request == TIOCMBIC || request == TIOCMSET;
    if (!lineRequest || !isatty(fd)) return next_ioctl()(fd, request, arg);
    int* value = (int*)arg;
    if (!value) {
        errno = EFAULT;
        return -1;
    }
    pthread_mutex_lock(&lines_lock);
    if (request == TIOCMGET) {
        *value = lines;
    } else {
        const int before = lines;
        lines = apply(request, *value & (TIOCM_DTR | TIOCM_RTS), before) |
                (before & ~(TIOCM_DTR | TIOCM_RTS));
        log_change(before, lines);
    }
    pthread_mutex_unlock(&lines_lock);
    return 0;
}
