#include "platform/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

// What SIGPIPE did when the program started; only ever the default or
// ignored, since a handler does not survive the exec that started us.
struct sigaction startPipeAction {};
bool pipeActionSaved = false;

} // namespace

void guardStandardStreams() {
    for (int stream = 0; stream <= 2; ++stream) {
        if (::fcntl(stream, F_GETFD) < 0 && errno == EBADF) {
            // The lowest free number is this one: the null device takes it,
            // else a handle that can neither read nor write.
            int taken = ::open("/dev/null", stream == 0 ? O_RDONLY : O_WRONLY);
            if (taken < 0) {
                taken = ::open("/", O_PATH);
            }
            if (taken >= 0 && taken != stream) {
                ::close(taken);
            }
        }
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    pipeActionSaved = ::sigaction(SIGPIPE, &ignore, &startPipeAction) == 0;
}

void restoreBrokenPipeHandling() {
    if (pipeActionSaved) {
        ::sigaction(SIGPIPE, &startPipeAction, nullptr);
    }
}
