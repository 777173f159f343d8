// The GET over WinHTTP: HTTPS with Windows' own certificate store, no redirects followed (an
// API answer that moves is an answer to judge, and the key header must not travel elsewhere).
#include <windows.h>
#include <winhttp.h>

#include "base/codepage.h"
#include "platform/http_get.h"

namespace zepa {
namespace {

struct InternetHandle {
    HINTERNET h = nullptr;
    ~InternetHandle() {
        if (h != nullptr) {
            WinHttpCloseHandle(h);
        }
    }
};

HttpOutcome failure(HttpResponse& response, const char* step) {
    const DWORD error = GetLastError();
    response.body.clear();
    response.problem = std::string(step) + " failed (WinHTTP error " + std::to_string(error) + ")";
    switch (error) {
        case ERROR_WINHTTP_TIMEOUT:
        case 10060:  // WSAETIMEDOUT: some WinHTTP pass the socket's time-out on as it is
            return HttpOutcome::TimedOut;
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        case ERROR_WINHTTP_CANNOT_CONNECT:
        case ERROR_WINHTTP_CONNECTION_ERROR:
        case ERROR_WINHTTP_SECURE_FAILURE:
        case 10061:  // WSAECONNREFUSED
            return HttpOutcome::CannotConnect;
        default:
            return HttpOutcome::Failed;
    }
}

}  // namespace

HttpOutcome httpGet(const HttpRequest& request, HttpResponse& response) {
    response = HttpResponse{};
    const std::wstring url = wideFromUtf8(request.url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        response.problem = "not a web address";
        return HttpOutcome::Failed;
    }
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                              std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

    InternetHandle session{WinHttpOpen(L"zepa", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                       WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)};
    if (session.h == nullptr) {
        return failure(response, "WinHttpOpen");
    }
    const int timeout = static_cast<int>(request.timeoutMs);
    WinHttpSetTimeouts(session.h, timeout, timeout, timeout, timeout);
    InternetHandle connection{WinHttpConnect(session.h, host.c_str(), parts.nPort, 0)};
    if (connection.h == nullptr) {
        return failure(response, "WinHttpConnect");
    }
    InternetHandle req{WinHttpOpenRequest(connection.h, L"GET", path.c_str(), nullptr,
                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                          secure ? WINHTTP_FLAG_SECURE : 0)};
    if (req.h == nullptr) {
        return failure(response, "WinHttpOpenRequest");
    }
    // On the request too: not every WinHTTP passes the session's time-outs on.
    WinHttpSetTimeouts(req.h, timeout, timeout, timeout, timeout);
    DWORD responseTimeout = static_cast<DWORD>(timeout);
    WinHttpSetOption(req.h, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                     sizeof responseTimeout);
    DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(req.h, WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects);
    std::wstring headerText;
    for (const auto& [name, value] : request.headers) {
        headerText += wideFromUtf8(name) + L": " + wideFromUtf8(value) + L"\r\n";
    }
    if (!WinHttpSendRequest(
            req.h, headerText.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headerText.c_str(),
            headerText.empty() ? 0 : static_cast<DWORD>(-1L), WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        return failure(response, "sending the request");
    }
    if (!WinHttpReceiveResponse(req.h, nullptr)) {
        return failure(response, "receiving the answer");
    }
    DWORD status = 0;
    DWORD statusSize = sizeof status;
    if (!WinHttpQueryHeaders(req.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize,
                             WINHTTP_NO_HEADER_INDEX)) {
        return failure(response, "reading the status");
    }
    wchar_t retry[64] = {};
    DWORD retrySize = sizeof retry;
    if (WinHttpQueryHeaders(req.h, WINHTTP_QUERY_RETRY_AFTER, WINHTTP_HEADER_NAME_BY_INDEX, retry,
                            &retrySize, WINHTTP_NO_HEADER_INDEX)) {
        std::string ascii;
        for (size_t i = 0; i < retrySize / sizeof(wchar_t) && retry[i] != 0; ++i) {
            ascii += retry[i] < 128 ? static_cast<char>(retry[i]) : '?';
        }
        response.retryAfterSeconds = parseRetryAfter(ascii);
    }
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(req.h, &available)) {
            return failure(response, "reading the answer");
        }
        if (available == 0) {
            break;
        }
        if (response.body.size() + available > request.maxBodyBytes) {
            response.body.clear();
            response.problem =
                "the answer is longer than " + std::to_string(request.maxBodyBytes >> 20) + " MiB";
            return HttpOutcome::TooLarge;
        }
        const size_t at = response.body.size();
        response.body.resize(at + available);
        DWORD read = 0;
        if (!WinHttpReadData(req.h, response.body.data() + at, available, &read)) {
            return failure(response, "reading the answer");
        }
        response.body.resize(at + read);
    }
    response.status = static_cast<int>(status);
    return HttpOutcome::Answered;
}

}  // namespace zepa
