#include <microhttpd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "common/console.hpp"
#include "platform/http.hpp"
#include "platform/socket_api.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kConnectionLimit = 16;
constexpr unsigned kIdleSeconds = 2;         // the library's own limit on a silent connection
constexpr size_t kConnectionMemory = 16384;  // per connection: the head and the answer's head
constexpr auto kHeadTime = std::chrono::seconds(2);
constexpr auto kAnswerTime = std::chrono::seconds(10);
constexpr auto kYieldAfter = std::chrono::milliseconds(100);  // a head still missing when full
constexpr auto kWatchEvery = std::chrono::milliseconds(20);
constexpr int kTracked = 64;  // room for the 16 and those the library is still closing

// One open connection as the watch sees it: waiting for a head since `since`, or answering
// since then.
struct Tracked {
    bool used;
    bool in_head;
    bool closing;
    MHD_socket fd;
    Clock::time_point since;
};

MHD_Daemon* daemon_handle = nullptr;
HttpHandler handler = nullptr;
std::mutex table_mutex;
Tracked table[kTracked];
std::thread watch_thread;
std::mutex watch_mutex;
std::condition_variable watch_wake;
bool watch_stop = false;

Tracked* TrackedOf(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info != nullptr ? static_cast<Tracked*>(info->socket_context) : nullptr;
}

void MarkPhase(MHD_Connection* connection, bool in_head) {
    Tracked* tracked = TrackedOf(connection);
    if (tracked == nullptr) return;
    const std::lock_guard<std::mutex> lock(table_mutex);
    tracked->in_head = in_head;
    tracked->since = Clock::now();
}

void NotifyConnection(void*, MHD_Connection* connection, void** socket_context,
                      MHD_ConnectionNotificationCode code) {
    const std::lock_guard<std::mutex> lock(table_mutex);
    if (code == MHD_CONNECTION_NOTIFY_CLOSED) {
        // Released before the library closes the socket, so the watch never touches a
        // descriptor that may already belong to someone else.
        if (*socket_context != nullptr) static_cast<Tracked*>(*socket_context)->used = false;
        return;
    }
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    for (Tracked& tracked : table) {
        if (tracked.used || info == nullptr) continue;
        tracked = {true, true, false, info->connect_fd, Clock::now()};
        *socket_context = &tracked;
        return;
    }
}

void RequestCompleted(void*, MHD_Connection* connection, void**, MHD_RequestTerminationCode) {
    MarkPhase(connection, true);
}

// Ends a connection from outside the library's thread: the library then sees the end of the
// stream and closes it in its own time.
void CloseTracked(Tracked* tracked) {
    shutdown(tracked->fd, kShutBoth);
    tracked->closing = true;
}

void WatchConnections() {
    std::unique_lock<std::mutex> wait_lock(watch_mutex);
    while (!watch_wake.wait_for(wait_lock, kWatchEvery, [] { return watch_stop; })) {
        const std::lock_guard<std::mutex> lock(table_mutex);
        const Clock::time_point now = Clock::now();
        unsigned open = 0;
        for (const Tracked& tracked : table) open += tracked.used && !tracked.closing ? 1 : 0;
        // While every place is taken, clients that have not sent their head make room at once:
        // a crowd of idle connections then keeps a good client waiting a second or two at most.
        const bool full = open >= kConnectionLimit;
        for (Tracked& tracked : table) {
            if (!tracked.used || tracked.closing) continue;
            const auto age = now - tracked.since;
            if (age > (tracked.in_head ? kHeadTime : kAnswerTime) ||
                (full && tracked.in_head && age > kYieldAfter)) {
                CloseTracked(&tracked);
            }
        }
    }
}

IpAddress ClientOf(MHD_Connection* connection) {
    IpAddress address = {};
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (info == nullptr || info->client_addr == nullptr) return address;
    if (info->client_addr->sa_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(info->client_addr);
        address.family = 4;
        std::memcpy(address.bytes, &v4->sin_addr, 4);
    } else if (info->client_addr->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(info->client_addr);
        address.family = 6;
        std::memcpy(address.bytes, &v6->sin6_addr, 16);
    }
    return address;
}

MHD_Result AddHeadBytes(void* total, MHD_ValueKind, const char* key, const char* value) {
    // "Key: value\r\n" (or "key=value&" of the query)
    *static_cast<size_t*>(total) += std::strlen(key) + (value ? std::strlen(value) : 0) + 4;
    return MHD_YES;
}

MHD_Result Answer(void*, MHD_Connection* connection, const char* url, const char* method,
                  const char* version, const char*, size_t*, void** request_state) {
    MarkPhase(connection, false);
    static int answered;  // any non-null marker: the request has its answer
    *request_state = &answered;
    HttpRequest request = {method, url, ClientOf(connection), 0};
    request.head_bytes = std::strlen(method) + std::strlen(url) + std::strlen(version) + 4;
    MHD_get_connection_values(connection,
                              static_cast<MHD_ValueKind>(MHD_HEADER_KIND | MHD_GET_ARGUMENT_KIND),
                              AddHeadBytes, &request.head_bytes);
    HttpReply reply;
    handler(request, &reply);
    MHD_Response* response = MHD_create_response_from_buffer(reply.body.size(), reply.body.data(),
                                                             MHD_RESPMEM_MUST_COPY);
    if (response == nullptr) return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.type);
    MHD_add_response_header(response, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
    if (reply.allow[0] != '\0')
        MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, reply.allow);
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

MHD_Daemon* StartDaemon(unsigned flags, int port) {
    return MHD_start_daemon(flags, static_cast<uint16_t>(port), nullptr, nullptr, Answer, nullptr,
                            MHD_OPTION_CONNECTION_LIMIT, kConnectionLimit,
                            MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds,
                            MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory,
                            MHD_OPTION_NOTIFY_CONNECTION, NotifyConnection, nullptr,
                            MHD_OPTION_NOTIFY_COMPLETED, RequestCompleted, nullptr, MHD_OPTION_END);
}

}  // namespace

bool StartHttpServer(int port, HttpHandler serve) {
    if (daemon_handle != nullptr) return true;
    handler = serve;
    const unsigned flags = MHD_USE_AUTO_INTERNAL_THREAD;
    daemon_handle = StartDaemon(flags | MHD_USE_DUAL_STACK, port);
    // A system without IPv6 still serves IPv4.
    if (daemon_handle == nullptr) daemon_handle = StartDaemon(flags, port);
    if (daemon_handle == nullptr) {
        PrintError("[ NG ] Cannot serve HTTP on port %d: %s; no status page.\n", port,
                   std::strerror(errno));
        return false;
    }
    watch_stop = false;
    watch_thread = std::thread(WatchConnections);
    // The paths that end the process with exit() stop the threads first.
    static const bool stop_at_exit = std::atexit(StopHttpServer) == 0;
    (void)stop_at_exit;
    return true;
}

void StopHttpServer() {
    if (daemon_handle == nullptr) return;
    {
        const std::lock_guard<std::mutex> lock(watch_mutex);
        watch_stop = true;
    }
    watch_wake.notify_all();
    watch_thread.join();
    MHD_stop_daemon(daemon_handle);
    daemon_handle = nullptr;
}
