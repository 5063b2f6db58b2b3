/* The limit of the framed path on this machine: each framed message read on
 * standard input is written back unchanged on standard output, in one write,
 * and nothing else is done. Ends with its input. */
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int writeAll(const unsigned char* data, size_t size) {
    while (size > 0) {
        ssize_t written = write(STDOUT_FILENO, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return 0;
        data += written;
        size -= (size_t)written;
    }
    return 1;
}

int main(void) {
    static char inputBuffer[1 << 16];
    setvbuf(stdin, inputBuffer, _IOFBF, sizeof inputBuffer);
    size_t capacity = 4096;
    unsigned char* message = malloc(capacity);
    if (!message) return 1;
    while (fread(message, 1, 4, stdin) == 4) {
        uint32_t length = (uint32_t)message[0] | (uint32_t)message[1] << 8 | (uint32_t)message[2] << 16 |
                          (uint32_t)message[3] << 24;
        if ((size_t)length + 4 > capacity) {
            unsigned char* larger = realloc(message, (size_t)length + 4);
            if (!larger) break;
            message = larger;
            capacity = (size_t)length + 4;
        }
        if (fread(message + 4, 1, length, stdin) != length) break;
        if (!writeAll(message, (size_t)length + 4)) break;
    }
    free(message);
    return 0;
}
