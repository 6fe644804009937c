// One small file fetched over HTTP or HTTPS with libcurl: certificates checked, only
// http and https (redirects too, a few at most), proxies from the environment, bounded
// in time and in size. Blocking: call it from a worker thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

namespace orvella {

struct FetchLimits {
    long connectSeconds = 5;
    long totalSeconds = 15;
    size_t maxBytes = 100000;
    long maxRedirects = 3;
};

// The whole body of url into *body. False for a transport error, an HTTP status other
// than 2xx, a body over maxBytes, or when abort turned true (the transfer ends at once).
bool FetchUrl(const std::string& url, std::string* body, const std::atomic<bool>& abort,
              const FetchLimits& limits = FetchLimits());

}  // namespace orvella
