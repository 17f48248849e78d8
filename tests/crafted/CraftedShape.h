#pragma once

#include <functional>
#include <string>
#include <vector>

namespace m3d {

// One crafted hostile input: a generator that writes it into a folder at a
// chosen size. `size` is the shape's own count (triangles, corners, Parts,
// materials, depth...); `fullSize` is the size the measurements use, tests
// pick small ones.
struct CraftedShape {
    std::string name;         // short identifier, also the file's base name
    std::string description;  // what the shape attacks, one line
    // marionettica3d-cli command that reads it ("mesh-info", "info", "export-x"...),
    // with any options that follow the file ("apply --motion NAME --delete-redundant-keys")
    std::string command;
    size_t fullSize = 0;
    // Writes the shape into folder (which exists) and returns the path of the
    // file to hand to `command`.
    std::function<std::string(const std::string& folder, size_t size)> write;
    // For a command that writes (an export, a save): the file it is to write,
    // relative to the shape's folder, where the shape has laid its traps; ""
    // leaves the choice to the measuring tool.
    std::string output = {};
};

// Every shape, grouped by the reader it attacks.
std::vector<CraftedShape> CraftedShapes();

// Writes bytes to path (binary); throws std::runtime_error when it cannot.
void WriteCraftedFile(const std::string& path, const std::string& bytes);

// A project of one Part "model" (its object file model.mqo, the text given)
// and one Motion, written into folder (which exists). Returns the project's
// path; throws std::runtime_error when it cannot be written.
std::string WriteOnePartProject(const std::string& folder, const std::string& mqoText);

// A .mqo of one triangle per texture path given, each of its own material.
std::string TexturedTrianglesMqo(const std::vector<std::string>& texturePaths);

// A project of depth Parts in one chain (each the child of the one before),
// one triangle each and one Motion, written into folder (created) by the
// project writer. Returns the project's path; throws std::runtime_error when
// it cannot be written.
std::string WriteDeepChainProject(const std::string& folder, size_t depth);

}  // namespace m3d
