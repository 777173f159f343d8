// The GET over libcurl: HTTPS with the system's certificates, no redirects followed (an API
// answer that moves is an answer to judge, and the key header must not travel elsewhere).
#include <curl/curl.h>

#include <mutex>

#include "platform/http_get.h"

namespace zepa {
namespace {

struct Transfer {
    HttpResponse* response = nullptr;
    size_t maxBodyBytes = 0;
    bool tooLarge = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (t->response->body.size() + bytes > t->maxBodyBytes) {
        t->tooLarge = true;
        return 0;  // stops the transfer
    }
    t->response->body.append(data, bytes);
    return bytes;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    const std::string_view line(data, bytes);
    // A new status line (after a 100 Continue) starts the headers anew.
    if (line.starts_with("HTTP/")) {
        t->response->retryAfterSeconds.reset();
    } else if (const auto seconds = retryAfterOfHeaderLine(line)) {
        t->response->retryAfterSeconds = seconds;
    }
    return bytes;
}

struct CurlHandle {
    CURL* handle = curl_easy_init();
    ~CurlHandle() {
        if (handle != nullptr) {
            curl_easy_cleanup(handle);
        }
    }
};

struct HeaderList {
    curl_slist* list = nullptr;
    ~HeaderList() { curl_slist_free_all(list); }
};

}  // namespace

HttpOutcome httpGet(const HttpRequest& request, HttpResponse& response) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    response = HttpResponse{};
    CurlHandle curl;
    if (curl.handle == nullptr) {
        response.problem = "the HTTP library could not start";
        return HttpOutcome::Failed;
    }
    HeaderList headers;
    for (const auto& [name, value] : request.headers) {
        const std::string line = name + ": " + value;
        curl_slist* grown = curl_slist_append(headers.list, line.c_str());
        if (grown == nullptr) {
            response.problem = "out of memory";
            return HttpOutcome::Failed;
        }
        headers.list = grown;
    }
    Transfer transfer{&response, request.maxBodyBytes, false};
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* c = curl.handle;
    curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.list);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeoutMs));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode result = curl_easy_perform(c);
    if (transfer.tooLarge) {
        response.body.clear();
        response.problem =
            "the answer is longer than " + std::to_string(request.maxBodyBytes >> 20) + " MiB";
        return HttpOutcome::TooLarge;
    }
    if (result != CURLE_OK) {
        response.body.clear();
        response.problem = errorText[0] != '\0' ? errorText : curl_easy_strerror(result);
        switch (result) {
            case CURLE_OPERATION_TIMEDOUT:
                return HttpOutcome::TimedOut;
            case CURLE_COULDNT_RESOLVE_HOST:
            case CURLE_COULDNT_RESOLVE_PROXY:
            case CURLE_COULDNT_CONNECT:
            case CURLE_SSL_CONNECT_ERROR:
            case CURLE_PEER_FAILED_VERIFICATION:
            case CURLE_SEND_ERROR:
            case CURLE_RECV_ERROR:
            case CURLE_GOT_NOTHING:
                return HttpOutcome::CannotConnect;
            default:
                return HttpOutcome::Failed;
        }
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    return HttpOutcome::Answered;
}

}  // namespace zepa
