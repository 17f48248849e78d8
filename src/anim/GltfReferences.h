#pragma once

#include <string>
#include <vector>

namespace m3d {

// The plain file names (no folder, URI escapes undone) that the glTF JSON
// file at path names as its buffers and images, in the order found: the
// files an earlier export wrote beside it. Empty when there is no such
// file, it is no regular file, is larger than a glTF of ours can be or is
// no JSON; names with a folder or a scheme are left out.
std::vector<std::string> GltfFilesNamedBy(const std::string& path);

}  // namespace m3d
