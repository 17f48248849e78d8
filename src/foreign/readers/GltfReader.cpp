#include "foreign/readers/GltfDocumentLoad.h"
#include "foreign/readers/GltfImport.h"
#include "foreign/readers/ModelReaders.h"
#include "io/FileReading.h"
#include "io/PathLookup.h"

#include <new>

namespace m3d {

namespace {

// Extensions whose meaning comes over without a word lost.
bool IsHandledExtension(const std::string& name) { return name == "KHR_mesh_quantization"; }

std::string StemOf(const std::string& path)
{
    std::string stem = FileNameOf(path);
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos && dot > 0) stem.resize(dot);
    return stem;
}

Outcome Import(const std::string& path, const std::string& bytes, ForeignModel& result)
{
    tinygltf::Model model;
    if (Outcome loaded = LoadGltfDocument(bytes, DirectoryOf(path), model); !loaded) return loaded;
    result.format = "glTF";
    result.metresPerUnit = 1.0;
    GltfImport import(model, StemOf(path), result);
    for (const std::string& extension : model.extensionsUsed)
        if (!IsHandledExtension(extension)) Note(import, "what the extension " + Shown(extension) + " adds");
    if (Outcome nodes = ImportGltfNodes(import); !nodes) return nodes;
    return ImportGltfAnimations(import);
}

}  // namespace

Outcome ReadGltfModel(const std::string& path, ForeignModel& out)
{
    out = {};
    const Expected<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return bytes.Status();
    ForeignModel result;
    Outcome imported;
    try {
        imported = Import(path, *bytes, result);
    } catch (const std::bad_alloc&) {
        imported = Outcome::Failure("not enough memory to read it");
    } catch (const std::exception& e) {
        imported = Outcome::Failure(std::string("the glTF library stopped: ") + e.what());
    }
    if (!imported) return Outcome::Failure(path + ": " + imported.Message());
    out = std::move(result);
    return Outcome();
}

}  // namespace m3d
