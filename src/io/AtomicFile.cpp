#include "io/AtomicFile.h"

#include "io/TemporaryFile.h"

#include <cerrno>
#include <cstring>

namespace m3d {

bool WriteFileAtomically(const std::string& path, const std::function<bool(FileSink&)>& produce, std::string& error,
                         const AtomicWriteOptions& options)
{
    const WriteTarget target = InspectWriteTarget(path);
    if (!CheckWriteTarget(path, target, options, error)) return false;
    TemporaryFile temporary;
    int errorNumber = 0;
    if (!temporary.Write(path, target, produce, error, errorNumber)) return false;
    if (!temporary.Commit(target.file, target.kind == WriteTarget::Kind::Regular)) {
        error = path + ": cannot replace the file: " + std::strerror(errno);
        return false;
    }
    return true;
}

bool CheckWriteTarget(const std::string& path, const WriteTarget& target, const AtomicWriteOptions& options,
                      std::string& error)
{
    if (target.kind == WriteTarget::Kind::Unusable || target.kind == WriteTarget::Kind::NotRegular) {
        error = target.error;
        return false;
    }
    if (target.kind == WriteTarget::Kind::Regular && target.readOnly && !options.replaceReadOnly) {
        error = path + ": the file is read-only; nothing was written";
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string& error,
                         const AtomicWriteOptions& options)
{
    return WriteFileAtomically(
        path, [data](FileSink& sink) { return sink.Write(data); }, error, options);
}

}  // namespace m3d
