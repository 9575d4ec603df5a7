#pragma once
// A proxy on a loopback port in front of the PostgreSQL server of the tests: it forwards both
// ways until the client sends a message holding a given text, then swallows that message and
// everything after it while keeping the connection open, as a stalled company network does.
// With an empty text it forwards nothing at all, not even the greeting.

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <atomic>
#include <thread>
#include <vector>

class StallingProxy {
  public:
    explicit StallingProxy(QByteArray stallAt) : stallAt_(std::move(stallAt)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 8);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~StallingProxy() {
        stop_ = true;
        thread_.join();
        for (int fd : open_) ::close(fd);
        ::close(listener_);
    }
    // postgresql:// through the proxy; the rest (user, password, database) from the environment.
    QString Address() const { return QStringLiteral("postgresql://127.0.0.1:%1").arg(port_); }
    // How many connections the proxy has taken.
    int Accepted() const { return accepted_; }

  private:
    int ConnectToServer() const {
        addrinfo hints{}, *found = nullptr;
        hints.ai_socktype = SOCK_STREAM;
        const QByteArray host = qEnvironmentVariable("PGHOST", "localhost").toUtf8();
        const QByteArray port = qEnvironmentVariable("PGPORT", "5432").toUtf8();
        if (::getaddrinfo(host.constData(), port.constData(), &hints, &found) != 0) return -1;
        int fd = -1;
        for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
            fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, 0);
            if (fd >= 0 && ::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
                ::close(fd);
                fd = -1;
            }
        }
        ::freeaddrinfo(found);
        return fd;
    }
    void Serve() {
        struct Pair {
            int client, server;
            bool stalled;
        };
        std::vector<Pair> pairs;
        while (!stop_) {
            std::vector<pollfd> fds{{listener_, POLLIN, 0}};
            for (const Pair& p : pairs) {
                fds.push_back({p.stalled ? -1 : p.client, POLLIN, 0});
                fds.push_back({p.stalled ? -1 : p.server, POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), 50) <= 0) continue;
            const size_t watched = pairs.size();
            if (fds[0].revents & POLLIN) {
                const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                open_.push_back(client);
                ++accepted_;
                const int server = stallAt_.isEmpty() ? -1 : ConnectToServer();
                if (server >= 0) open_.push_back(server);
                pairs.push_back({client, server, server < 0});
            }
            for (size_t i = 0; i < watched; ++i) {
                Pair& p = pairs[i];
                for (int side = 0; side < 2 && !p.stalled; ++side) {
                    if (!(fds[1 + 2 * i + side].revents & (POLLIN | POLLHUP))) continue;
                    char buffer[65536];
                    const ssize_t n =
                        ::read(side == 0 ? p.client : p.server, buffer, sizeof buffer);
                    if (n <= 0) {
                        p.stalled = true;
                        break;
                    }
                    if (side == 0 && QByteArray::fromRawData(buffer, n).contains(stallAt_)) {
                        p.stalled = true;
                        break;
                    }
                    [[maybe_unused]] const ssize_t w =
                        ::write(side == 0 ? p.server : p.client, buffer, n);
                }
            }
        }
    }
    QByteArray stallAt_;
    int listener_ = -1;
    int port_ = 0;
    std::vector<int> open_;
    std::atomic<bool> stop_{false};
    std::atomic<int> accepted_{0};
    std::thread thread_;
};
