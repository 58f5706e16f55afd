// Keeping the settings private to their user: the folders created with mode
// 0700 and the store and everything kept beside it with mode 0600, existing
// ones tightened. The store holds the parent's password hash and the
// child's own choices; no other account on the computer has any business
// reading them.
#pragma once

#include <string>

namespace tw {

// Creates folder and every missing folder above it with mode 0700. Existing
// folders from tightenFrom (folder itself or a folder above it) down to
// folder lose every access of group and others; with tightenFrom empty, or
// not above folder, existing folders are left as they are, since they may
// be anyone's.
void MakePrivateFolder(const std::string& folder, const std::string& tightenFrom);

// Takes every access of group and others from the plain files in folder
// whose names begin with prefix (a store, its journal, the damaged copies
// moved aside). Links and files of other users are left alone.
void TightenPrivateFiles(const std::string& folder, const std::string& prefix);

// Creates file empty with mode 0600 when it does not exist yet, so it is
// never readable by others, not even for a moment.
void CreatePrivateFile(const std::string& file);

}  // namespace tw
