// instrumentsim: a simulated instrument at the end of a pseudo-terminal, for tests and
// demonstrations of the data logger.
//
//   instrumentsim <answer file> [--chunk BYTES] [--rate BYTES_PER_SECOND] [--crlf] [--topbit]
//                 [--never-answer] [--first-only] [--hangup-after BYTES] [--size BYTES] [--endless]
//
// Prints the path of the port on its first line of output; give it to the logger through
// HALVERN_EXTRA_PORTS. Waits for "SYST:REM\r\n" and then "MEM:DATA? ALL\r\n", sends the file in
// chunks (default 64 bytes at 960 bytes a second, as a 9600 baud line; rate 0 is as fast as the
// terminal takes it) and falls silent until it is asked again.
//   --crlf          line feeds go out as CR LF
//   --topbit        every third byte goes out with its top bit set
//   --never-answer  takes the commands and sends nothing
//   --first-only    answers the first command alone and ignores the second
//   --hangup-after  closes the line after that many bytes, like a cable pulled out, and exits
//   --size          sends the file over and over until that many bytes went out (a memory of
//                   100 MB without a 100 MB file)
//   --endless       sends the file over and over and never falls silent
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

struct Options
{
    std::string file;
    long chunk = 64;
    long rate = 960;
    bool crlf = false;
    bool topBit = false;
    bool neverAnswer = false;
    bool firstOnly = false;
    long hangupAfter = -1;
    long long size = -1;
    bool endless = false;
};

int usage()
{
    std::fprintf(stderr,
        "usage: instrumentsim <answer file> [--chunk BYTES] [--rate BYTES_PER_SECOND] [--crlf] [--topbit]\n"
        "                     [--never-answer] [--first-only] [--hangup-after BYTES] [--size BYTES] "
        "[--endless]\n"
        "Prints the path of its pseudo-terminal, waits for \"SYST:REM\" and \"MEM:DATA? ALL\", then sends\n"
        "the file in chunks (default 64 bytes at 960 bytes a second; rate 0: as fast as the line takes it).\n"
        "  --crlf          line feeds go out as CR LF\n"
        "  --topbit        every third byte goes out with its top bit set\n"
        "  --never-answer  takes the commands and sends nothing\n"
        "  --first-only    answers the first command alone and ignores the second\n"
        "  --hangup-after  closes the line after that many bytes, like a cable pulled out, and exits\n"
        "  --size          sends the file over and over until that many bytes went out\n"
        "  --endless       sends the file over and over and never falls silent\n");
    return 2;
}

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto number = [&](long& out) {
            if (i + 1 >= argc)
                return false;
            char* end = nullptr;
            out = std::strtol(argv[++i], &end, 10);
            return end && *end == '\0' && out >= 0;
        };
        if (a == "--chunk") {
            if (!number(o.chunk) || o.chunk == 0)
                return false;
        } else if (a == "--rate") {
            if (!number(o.rate))
                return false;
        } else if (a == "--hangup-after") {
            if (!number(o.hangupAfter))
                return false;
        } else if (a == "--size") {
            long size = 0;
            if (!number(size))
                return false;
            o.size = size;
        } else if (a == "--endless")
            o.endless = true;
        else if (a == "--crlf")
            o.crlf = true;
        else if (a == "--topbit")
            o.topBit = true;
        else if (a == "--never-answer")
            o.neverAnswer = true;
        else if (a == "--first-only")
            o.firstOnly = true;
        else if (!a.empty() && a[0] != '-' && o.file.empty())
            o.file = a;
        else
            return false;
    }
    return !o.file.empty();
}

std::string answerFor(const Options& o)
{
    std::ifstream in(o.file, std::ios::binary);
    if (!in)
        return std::string();
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (o.crlf) {
        std::string converted;
        converted.reserve(data.size() + data.size() / 16);
        for (size_t i = 0; i < data.size(); ++i) {
            if (data[i] == '\n' && (i == 0 || data[i - 1] != '\r'))
                converted += '\r';
            converted += data[i];
        }
        data.swap(converted);
    }
    if (o.topBit) {
        for (size_t i = 2; i < data.size(); i += 3)
            data[i] = char(static_cast<unsigned char>(data[i]) | 0x80);
    }
    return data;
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o))
        return usage();
    std::signal(SIGPIPE, SIG_IGN);

    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "instrumentsim: openpty failed: %s\n", std::strerror(errno));
        return 1;
    }
    // A raw line: no echo of the commands and no translation of the bytes either way. Our own
    // slave descriptor stays open so that the line does not hang up between two connections.
    termios tio {};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    std::printf("%s\n", name);
    std::fflush(stdout);

    const std::string answer = answerFor(o);
    if (answer.empty() && std::ifstream(o.file, std::ios::binary).fail()) {
        std::fprintf(stderr, "instrumentsim: cannot read %s\n", o.file.c_str());
        return 1;
    }

    const std::string remote = "SYST:REM\r\n";
    const std::string memory = "MEM:DATA? ALL\r\n";
    std::string received;
    bool remoteSeen = false;
    for (;;) {
        pollfd p { master, POLLIN, 0 };
        if (::poll(&p, 1, 1000) < 0 && errno != EINTR)
            return 1;
        if (!(p.revents & POLLIN))
            continue;
        char buffer[256];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        received.append(buffer, size_t(n));
        bool ask = false;
        for (;;) {
            const std::string& wanted = remoteSeen ? memory : remote;
            const size_t at = received.find(wanted);
            if (at == std::string::npos)
                break;
            received.erase(0, at + wanted.size());
            if (!remoteSeen) {
                remoteSeen = true;
                ask = ask || o.firstOnly;
            } else {
                remoteSeen = false;
                ask = ask || !o.firstOnly;
            }
        }
        if (received.size() > 4096)
            received.erase(0, received.size() - 64);
        if (!ask || o.neverAnswer)
            continue;

        if (answer.empty())
            continue;
        // The answer as a whole, possibly the file repeated: "total" bytes, or no end at all.
        const unsigned long long total = o.endless ? ~0ULL
            : o.size >= 0                          ? (unsigned long long)(o.size)
                                                   : answer.size();
        unsigned long long sent = 0;
        const auto start = std::chrono::steady_clock::now();
        while (sent < total) {
            const size_t at = size_t(sent % answer.size());
            size_t size = size_t(
                std::min<unsigned long long>(std::min(answer.size() - at, size_t(o.chunk)), total - sent));
            if (o.hangupAfter >= 0 && sent + size >= size_t(o.hangupAfter))
                size = size_t(o.hangupAfter) - sent;
            if (!writeAll(master, answer.data() + at, size))
                return 1;
            sent += size;
            if (o.hangupAfter >= 0 && sent >= size_t(o.hangupAfter)) {
                // Let the bytes reach the other end before the line goes dead.
                tcdrain(master);
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                ::close(slave);
                ::close(master);
                return 0;
            }
            if (o.rate > 0) {
                const auto due = start + std::chrono::microseconds(sent * 1000000 / size_t(o.rate));
                std::this_thread::sleep_until(due);
            }
        }
    }
}
