#pragma once

#include "io/CommitRecovery.h"

#include <string>
#include <vector>

namespace m3d {

// Before a write into folder, removes what killed writes left there: this
// user's temporaries (OwnTemporaryName) whose writer counts as gone
// (CountsAsGone), however fresh, and those of earlier versions' pattern
// ("FILE.tmpXXXXXX") older than kStaleFileSeconds. With recoverCommits the
// interrupted commits found are ended first (RecoverCommit) and what was done
// is returned, one note each; without it they are left as they are. While a
// commit's record stays in the folder (its writer runs, it is damaged, it
// could not be ended or was not to be), no temporary naming a writer is
// removed, since it may be one the commit needs. (A set with files in other
// folders, through symbolic links, keeps a record in each of them.)
//
// A folder is looked at again only once its last look is kRescanSeconds old
// (or when commits are to be ended and the last look did not end them), so
// that a save of many files does not list a large folder for each. A look
// lists for at most kListingBudgetMs and removes for at most kRemovalBudgetMs:
// a folder of a hundred thousand entries never holds up a save. What a look
// had no time to remove is removed by a later one; a listing cut short
// removes only the earlier versions' temporaries, since a commit's record may
// lie beyond it.
std::vector<CommitRecoveryNote> TidyFolder(const std::string& folder, bool recoverCommits);

constexpr int kRescanSeconds = 5;
constexpr int kListingBudgetMs = 100;
constexpr int kRemovalBudgetMs = 100;

}  // namespace m3d
