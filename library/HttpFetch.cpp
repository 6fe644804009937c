#include "library/HttpFetch.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace orvella {

namespace {

struct Transfer {
    std::string* body;
    size_t maxBytes;
    const std::atomic<bool>* abort;
};

size_t OnData(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    // Returning less than given makes libcurl fail the transfer.
    if (transfer->body->size() + bytes > transfer->maxBytes) return 0;
    transfer->body->append(data, bytes);
    return bytes;
}

// Called often, stalled or not: a non-zero answer ends the transfer at once.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(user)->abort->load() ? 1 : 0;
}

// The transfer driven in short steps, so that a set abort flag ends it within a tenth of
// a second even while the server sends nothing (libcurl's own progress calls may be a
// second apart then).
CURLcode Perform(CURL* easy, const std::atomic<bool>& abort) {
    std::unique_ptr<CURLM, CURLMcode (*)(CURLM*)> multi(curl_multi_init(), curl_multi_cleanup);
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_FAILED_INIT;
    int running = 1;
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    while (running && !abort.load()) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        if (running) curl_multi_poll(multi.get(), nullptr, 0, 100, nullptr);
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
        if (message->msg == CURLMSG_DONE) result = message->data.result;
    }
    curl_multi_remove_handle(multi.get(), easy);
    return abort.load() ? CURLE_ABORTED_BY_CALLBACK : result;
}

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

bool FetchUrl(const std::string& url, std::string* body, const std::atomic<bool>& abort,
              const FetchLimits& limits) {
    body->clear();
    if (url.empty() || abort.load()) return false;
    InitCurlOnce();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return false;
    Transfer transfer{body, limits.maxBytes, &abort};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Orvella");
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, limits.totalSeconds);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // a worker thread may not take signals
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    // Always the server's copy, never a cache's.
    std::unique_ptr<curl_slist, void (*)(curl_slist*)> headers(
        curl_slist_append(nullptr, "Cache-Control: no-cache"), curl_slist_free_all);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnData);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    if (Perform(c, abort) != CURLE_OK) {
        body->clear();
        return false;
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        body->clear();
        return false;
    }
    return true;
}

}  // namespace orvella
