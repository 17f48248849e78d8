#pragma once

#include "editor/history/DocumentChange.h"

#include <memory>
#include <string>

namespace m3d {

class CMesh;

// A Part's geometry and names replaced by another object file's. The change
// keeps the geometry and names that are out of the model; undo and redo
// exchange them with the Part's.
class PartSwapChange : public DocumentChange {
public:
    // Part part was just given a new mesh and names; these are the ones it
    // had. sameContent: the two meshes save the same file.
    PartSwapChange(int part, std::unique_ptr<CMesh> mesh, std::string baseName, std::string displayName,
                   bool sameContent, bool sameName);
    ~PartSwapChange() override;

    void Undo(EditorSession& session) override { Exchange(session); }
    void Redo(EditorSession& session) override { Exchange(session); }
    size_t Bytes() const override;
    // Another file of the same name or geometry leaves that as it was.
    SavedDataEffect Effect() const override;
    void ForgetDigests(MotionDigests&) const override {}

private:
    void Exchange(EditorSession& session);

    int part;
    std::unique_ptr<CMesh> mesh;  // not registered with the mesh manager while out of the model
    std::string baseName, displayName;
    bool sameContent;
    bool sameName;
};

}  // namespace m3d
