#include "support/LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

using namespace std::chrono_literals;

namespace {

constexpr qsizetype kMaxRequestBytes = 64 * 1024;

// The request is complete with its headers and as many body bytes as they announce.
bool IsComplete(const QByteArray& request) {
  const qsizetype headEnd = request.indexOf("\r\n\r\n");
  const QByteArray head = request.left(headEnd + 2).toLower();
  const QByteArray field("\r\ncontent-length:");
  const qsizetype start = head.indexOf(field) + field.size();
  const qint64 body =
      start < field.size()
          ? 0
          : head.mid(start, head.indexOf("\r\n", start) - start).trimmed().toLongLong();
  return headEnd >= 0 && request.size() >= headEnd + 4 + body;
}

// Blocking reads, which the server's destructor ends by shutting the socket down.
QByteArray ReadRequest(int client) {
  QByteArray request;
  char buffer[4096];
  while (request.size() < kMaxRequestBytes && !IsComplete(request)) {
    const ssize_t count = recv(client, buffer, sizeof buffer, 0);
    if (count <= 0)
      break;
    request.append(buffer, count);
  }
  return request;
}

}  // namespace

bool LocalHttpServer::Connection::Send(const QByteArray& bytes) const {
  return send(socket_, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL) ==
         bytes.size();
}

bool LocalHttpServer::Connection::Pause(std::chrono::milliseconds time) const {
  // Any event here is the client's close or the server's shutdown.
  pollfd entry{socket_, POLLRDHUP, 0};
  return poll(&entry, 1, static_cast<int>(time.count())) == 0;
}

LocalHttpServer::LocalHttpServer(Responder responder) : responder_(std::move(responder)) {
  // The components under test must reach this server directly, whatever proxy the machine names.
  qputenv("no_proxy", "127.0.0.1");
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  auto* generic = reinterpret_cast<sockaddr*>(&address);
  if (bind(listener_, generic, length) == 0 && listen(listener_, 8) == 0 &&
      getsockname(listener_, generic, &length) == 0)
    port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  {
    // Wakes the blocked accept, read, send or pause of the serving thread.
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    if (client_ >= 0)
      shutdown(client_, SHUT_RDWR);
  }
  shutdown(listener_, SHUT_RDWR);
  thread_.join();
  close(listener_);
}

QString LocalHttpServer::Address(const QString& path) const {
  return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

QList<QByteArray> LocalHttpServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

QByteArray LocalHttpServer::Head(qint64 length) {
  return "HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(length) + "\r\n\r\n";
}

QByteArray LocalHttpServer::Answer(const QByteArray& body, bool withLength) {
  return (withLength ? Head(body.size()) : QByteArray("HTTP/1.0 200 OK\r\n\r\n")) + body;
}

void LocalHttpServer::Serve() {
  for (int client; (client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
    if (Admit(client))
      Handle(client);
    const std::lock_guard lock(mutex_);
    client_ = -1;
    close(client);
  }
}

bool LocalHttpServer::Admit(int client) {
  const std::lock_guard lock(mutex_);
  client_ = client;
  return !stopping_;
}

void LocalHttpServer::Handle(int client) {
  const QByteArray request = ReadRequest(client);
  {
    const std::lock_guard lock(mutex_);
    requests_.append(request);
  }
  Connection connection(client, request);
  responder_(connection);
}

bool WaitUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(5s);
  while (!done() && !deadline.hasExpired()) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(5ms);
  }
  return done();
}

bool IsEmptyFolder(const QString& path) {
  return QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}
