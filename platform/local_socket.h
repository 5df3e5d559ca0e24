// Local sockets in the user's runtime folder, as the single-instance channel and the editor's
// cross-process messages use them.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <sys/un.h>

namespace platform {

// The address of the socket for a name (named by a hash of it, since socket paths are short).
bool LocalSocketAddress(std::string_view name, sockaddr_un& address, std::string& path);
// The limit of each send and receive on the socket (and of a connect made after it).
void SetSocketTimeouts(int fd, std::chrono::milliseconds limit);
// Whole transfers, retried on EINTR; false when the peer went or a time limit passed.
bool SendAllBytes(int fd, const void* data, size_t size);
bool ReceiveAllBytes(int fd, void* data, size_t size);
// A socket bound and listening at the name's address, replacing a socket an ended holder left;
// -1 on failure.
int ListenLocal(std::string_view name, std::string& path);
// A socket connected to the name's listener, waiting at most the limit while the listener's queue is
// full (a stopped listener accepts nobody); -1 on failure, with errno ECONNREFUSED or ENOENT when
// nobody listens there and EAGAIN when the limit passed.
int ConnectLocal(std::string_view name, std::chrono::milliseconds limit);

}  // namespace platform
