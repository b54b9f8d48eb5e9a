/* lm360r-kernel-node-client NODE ROUNDS: the yardstick for the speed of an exchange through usblp's node.
 * Makes ROUNDS times the five exchanges of a `get` (open the node, ESC @, ESC i a 01, one read request,
 * read its reply, close) as plainly as C allows, and prints the milliseconds each round took. Its frames
 * are written out here on purpose: a yardstick must not share the code it measures. */
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static const struct {
    unsigned char request[7];
    int length, reply;
} kReads[] = {
    {{0x1B, 0x69, 0x55, 0x70, 0x01}, 5, 32}, {{0x1B, 0x69, 0x55, 0x41, 0x01}, 5, 32},
    {{0x1B, 0x69, 0x58, 0x4B, 0x31, 0x00, 0x00}, 7, 3}, {{0x1B, 0x69, 0x58, 0x6F, 0x31, 0x00, 0x00}, 7, 3},
    {{0x1B, 0x69, 0x55, 0x61, 0x01}, 5, 32},
};
static const unsigned char kInitialize[] = {0x1B, 0x40};
static const unsigned char kMode[] = {0x1B, 0x69, 0x61, 0x01};

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static int Exchange(const char* node, int which) {
    unsigned char reply[32];
    int got = 0;
    const int fd = open(node, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (write(fd, kInitialize, sizeof kInitialize) != sizeof kInitialize ||
        write(fd, kMode, sizeof kMode) != sizeof kMode ||
        write(fd, kReads[which].request, kReads[which].length) != kReads[which].length) {
        close(fd);
        return -1;
    }
    while (got < kReads[which].reply) {
        struct pollfd wait = {fd, POLLIN, 0};
        if (poll(&wait, 1, 4000) != 1) {
            close(fd);
            return -1;
        }
        const ssize_t n = read(fd, reply + got, (size_t)(kReads[which].reply - got));
        if (n < 0) {
            close(fd);
            return -1;
        }
        got += (int)n;
    }
    close(fd);
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: lm360r-kernel-node-client NODE ROUNDS\n");
        return 1;
    }
    for (int round = atoi(argv[2]); round > 0; --round) {
        const double start = Now();
        for (int which = 0; which < 5; ++which) {
            if (Exchange(argv[1], which) != 0) {
                perror("lm360r-kernel-node-client");
                return 3;
            }
        }
        printf("%.1f\n", Now() - start);
    }
    return 0;
}
