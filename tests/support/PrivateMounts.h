// Runs a part of a test in a forked child with a mount namespace of its
// own, so that it can see a folder read-only or on a tiny full file system
// without touching the machine: as root (CI) through unshare, otherwise
// through a user namespace where the kernel allows one. What the child
// reports comes back as text; the parent makes the assertions.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tw::test {

// Forks; the child enters a private mount namespace, runs Mounts (which
// may call the two helpers below; an exception there counts as "not
// possible") and then Body, whose text it sends back. Returns that text,
// or nullopt when namespaces or mounts are not possible here (the caller
// skips, naming why). A child that dies, or runs longer than two minutes,
// gives the text "child died". Only the calling thread lives on in the
// child: the caller lets other threads (Qt's idle pool workers) end first.
std::optional<std::string> RunWithPrivateMounts(const std::function<void()>& Mounts,
                                                const std::function<std::string()>& Body);

// Inside Mounts: Folder becomes read-only (a read-only bind mount of
// itself); a tmpfs of Bytes bytes is mounted over Folder, empty.
void MountReadOnly(const std::string& Folder);
void MountTinyTmpfs(const std::string& Folder, size_t Bytes);

}  // namespace tw::test
