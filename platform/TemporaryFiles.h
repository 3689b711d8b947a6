// The temporary files of atomic replacement: "<name>.tmp-<pid>-XXXXXX" beside
// the target. A writer that is killed leaves its temporary behind; the next
// replacement of the same file removes it once it is stale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// How long a temporary may live before it counts as left behind even when
// its writer's process id is in use again.
constexpr int64_t kStaleTemporarySeconds = 10 * 60;

// The mkstemp pattern for a temporary of `target` written by process `pid`.
std::string TemporaryPattern(const std::string& target, long pid);

// For a name of a temporary of the file named `base`: the writer's process
// id, or 0 for the older names without one. Nothing for any other name.
std::optional<long> TemporaryWriter(std::string_view base, std::string_view name);

// Creates a new temporary of `target` for this process with `mode` (less the
// umask, as for any new file): the descriptor, its name in `path`; -1 with
// errno set when it cannot.
int CreateTemporary(const std::string& target, unsigned mode, std::string& path);

// Removes the stale temporaries of `target`: regular files of this user,
// named as ours for that file, whose writer is gone or which are older than
// kStaleTemporarySeconds. Anything else in the folder is left alone.
void RemoveStaleTemporaries(const std::string& target);

}  // namespace platform
