#include "unit_terminal.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tv {

int openStopSignals() {
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    sigprocmask(SIG_BLOCK, &stops, nullptr);
    return ::signalfd(-1, &stops, SFD_CLOEXEC);
}

std::optional<UnitTerminal> openUnitTerminal() {
    UnitTerminal t;
    t.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (t.master < 0 || ::grantpt(t.master) != 0 || ::unlockpt(t.master) != 0) {
        std::perror("tvunit: cannot make a pseudo-terminal");
        return std::nullopt;
    }
    t.slavePath = ::ptsname(t.master);
    // Held open for the whole run: without it the line hangs up whenever the
    // client closes, and reads on the master fail until the next client comes.
    t.slave = ::open(t.slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (t.slave < 0 || ::tcgetattr(t.slave, &tio) != 0) {
        std::perror("tvunit: cannot open the terminal's slave side");
        return std::nullopt;
    }
    ::cfmakeraw(&tio);  // no echo, no line editing: bytes pass as they are
    ::tcsetattr(t.slave, TCSANOW, &tio);
    ::fcntl(t.master, F_SETFL, ::fcntl(t.master, F_GETFL) | O_NONBLOCK);
    return t;
}

void closeUnitTerminal(const UnitTerminal& terminal) {
    ::close(terminal.master);
    ::close(terminal.slave);
}

bool makeTerminalLink(const std::string& link, const std::string& target) {
    struct stat old {};
    if (::lstat(link.c_str(), &old) == 0) {
        if (!S_ISLNK(old.st_mode)) {
            std::fprintf(stderr,
                         "tvunit: %s exists and is not a link; choose another --link path\n",
                         link.c_str());
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        std::fprintf(stderr, "tvunit: cannot make the link %s: %s\n", link.c_str(),
                     std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace tv
