#include "update/HTTPGetThread.h"

#include <curl/curl.h>

#include <QSaveFile>
#include <algorithm>
#include <memory>

namespace {

// The body is taken in pieces of at most this size, with a progress report after each.
constexpr size_t kChunkBytes = 1025;

// A transfer slower than this for the whole stall time has stalled.
constexpr long kStallBytesPerSecond = 1;

struct EasyDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

// libcurl's global set-up must not race with a transfer, so the owner's thread runs it before its
// first worker starts; it stays for the rest of the process.
void InitialiseCurlOnce() {
  [[maybe_unused]] static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
}

// The address as the component has always read it: when "http://" stands anywhere in it, the
// first seven characters go; the host (with its ":port", if any) runs to the first "/", which
// starts the path.
QByteArray RequestAddress(const QByteArray& url) {
  const QByteArray rest = url.toLower().contains("http://") ? url.mid(7) : url;
  const qsizetype slash = rest.indexOf('/');
  const QByteArray host = slash < 0 ? rest : rest.left(slash);
  const QByteArray path = slash < 0 ? QByteArray("/") : rest.mid(slash);
  return "http://" + host + path;
}

HeaderList RequestHeaders(const HTTPGetProperties& properties, const QByteArray& acceptTypes) {
  curl_slist* list = nullptr;
  const auto add = [&list](const QByteArray& line) {
    if (curl_slist* longer = curl_slist_append(list, line.constData()))
      list = longer;
  };
  // "Accept:" without a value takes libcurl's own Accept header away.
  add(acceptTypes.isEmpty() ? QByteArray("Accept:") : "Accept: " + acceptTypes);
  if (!properties.UseCache) {
    // Both forms: HTTP/1.0 caches know only Pragma.
    add("Pragma: no-cache");
    add("Cache-Control: no-cache");
  }
  if (!properties.PostQuery.isEmpty())
    add("Content-Type: application/x-www-form-urlencoded");
  return HeaderList(list);
}

}  // namespace

// One request and the body it brings, in the steps of the component's worker. The headers are in
// when libcurl hands over the first piece of the body (or ends a response without one).
struct THTTPGetThread::Transfer {
  explicit Transfer(THTTPGetThread& worker)
      : worker(worker), properties(worker.properties_), outcome(worker.outcome_) {}

  bool Run() {
    if (!curl || worker.stop_)
      return false;
    Configure();
    const CURLcode code = curl_easy_perform(curl.get());
    if (code == CURLE_OK && !bodyBegun)
      BeginBody();
    return Judge();
  }

  void Configure() {
    CURL* handle = curl.get();
    address = RequestAddress(Encoded(properties.URL));
    curl_easy_setopt(handle, CURLOPT_URL, address.constData());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http");
    // The path goes out as given, "/../" and all.
    curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    // Time-outs by signal would hit whatever thread the signal lands on.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    // libcurl takes the system's proxy from http_proxy and no_proxy unless told otherwise.
    SetTextOption(CURLOPT_USERAGENT, properties.Agent);
    SetTextOption(CURLOPT_USERNAME, properties.UserName);
    SetTextOption(CURLOPT_PASSWORD, properties.Password);
    SetTextOption(CURLOPT_REFERER, properties.Referer);
    if (!properties.PostQuery.isEmpty()) {
      // The one text libcurl does not copy: it must live as long as the transfer.
      postQuery = Encoded(properties.PostQuery);
      curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE,
                       static_cast<curl_off_t>(postQuery.size()));
      curl_easy_setopt(handle, CURLOPT_POSTFIELDS, postQuery.constData());
    }
    headers = RequestHeaders(properties, Encoded(properties.AcceptTypes));
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    SetTimeouts(handle);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Transfer::ReceiveBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &Transfer::PollStop);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
  }

  // The request's texts go out as the 8-bit program always sent them: in the code page.
  QByteArray Encoded(const QString& text) const { return worker.codePage_.FromUnicode(text); }

  void SetTextOption(CURLoption option, const QString& value) {
    // An empty property means the request goes without that field, not with an empty one.
    if (!value.isEmpty())
      curl_easy_setopt(curl.get(), option, Encoded(value).constData());
  }

  void SetTimeouts(CURL* handle) const {
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(properties.ConnectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, kStallBytesPerSecond);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME,
                     static_cast<long>(properties.StallTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(properties.TotalTimeout.count()));
  }

  // The stop request after sending and after the length query, the length itself, and the
  // file that receives the body.
  bool BeginBody() {
    bodyBegun = true;
    curl_off_t length = -1;
    curl_easy_getinfo(curl.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    const bool announced = length >= 0;
    outcome.ContentLength = announced ? length : 0;
    if (worker.stop_ || (!announced && properties.BinaryData))
      return Fail();
    // Refused before a byte is read, so that nothing is created for it.
    if (outcome.ContentLength > properties.MaxBytes)
      return Fail();
    if (worker.toFile_) {
      // The body goes to a temporary file beside the target that replaces it only when the
      // download succeeds; any other end removes it, so no partial file is left behind.
      file = std::make_unique<QSaveFile>(properties.FileName);
      if (!file->open(QIODevice::WriteOnly))
        return Fail();
    }
    return true;
  }

  static size_t ReceiveBody(char* data, size_t size, size_t count, void* self) {
    Transfer& transfer = *static_cast<Transfer*>(self);
    const size_t length = size * count;
    if (!transfer.bodyBegun && !transfer.BeginBody())
      return 0;
    for (size_t done = 0; done < length; done += kChunkBytes) {
      const size_t chunk = std::min(kChunkBytes, length - done);
      if (!transfer.TakeChunk(data + done, static_cast<int64_t>(chunk)))
        return 0;  // libcurl ends the transfer with a write error
    }
    return length;
  }

  bool TakeChunk(const char* data, int64_t length) {
    if (worker.stop_ || outcome.Received + length > properties.MaxBytes || !Store(data, length))
      return Fail();
    outcome.Received += length;
    if (worker.progress_)
      worker.progress_(outcome.ContentLength, outcome.Received);
    return true;
  }

  bool Store(const char* data, int64_t length) {
    if (file)
      return file->write(data, length) == length;
    outcome.Text.append(data, static_cast<qsizetype>(length));
    return true;
  }

  // Called by libcurl while it waits as well as while data flows (about once a second when the
  // server sends nothing), so that a stop never waits for the server.
  static int PollStop(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    Transfer& transfer = *static_cast<Transfer*>(self);
    if (!transfer.worker.stop_)
      return 0;
    transfer.Fail();
    return 1;  // libcurl ends the transfer as aborted
  }

  bool Fail() {
    failed = true;
    return false;
  }

  // A file is complete when it holds the announced length (none announced: 0); a text when
  // anything came. A read that failed during the body merely ended it; no answer at all, or a
  // broken rule, is a failure whatever the count.
  bool Judge() {
    if (failed || !bodyBegun)
      return false;
    if (!file)
      return outcome.Received > 0;
    return outcome.Received == outcome.ContentLength && file->commit();
  }

  THTTPGetThread& worker;
  const HTTPGetProperties& properties;
  HTTPOutcome& outcome;
  EasyHandle curl{curl_easy_init()};
  QByteArray address;
  QByteArray postQuery;
  HeaderList headers;
  std::unique_ptr<QSaveFile> file;
  bool bodyBegun = false;
  bool failed = false;
};

THTTPGetThread::THTTPGetThread(HTTPGetProperties properties, bool toFile, CodePage codePage,
                               Progress progress, Finished finished)
    : properties_(std::move(properties)),
      toFile_(toFile),
      codePage_(std::move(codePage)),
      progress_(std::move(progress)),
      finished_(std::move(finished)) {
  InitialiseCurlOnce();
  thread_ = std::thread([this] { Run(); });
}

THTTPGetThread::~THTTPGetThread() {
  Stop();
  if (thread_.joinable())
    thread_.join();
}

HTTPOutcome THTTPGetThread::TakeOutcome() {
  if (thread_.joinable())
    thread_.join();
  return std::move(outcome_);
}

void THTTPGetThread::Run() {
  {
    // The transfer, and with it an unfinished file, is gone before the owner hears the end.
    Transfer transfer(*this);
    outcome_.Success = transfer.Run();
  }
  finished_();
}
