#include "io/AtomicFile.h"

#include "io/TemporaryFile.h"

#include <cerrno>
#include <cstring>

namespace m3d {

Outcome WriteFileAtomically(const std::string& path, const std::function<bool(FileSink&)>& produce,
                            const AtomicWriteOptions& options)
{
    const WriteTarget target = InspectWriteTarget(path);
    if (Outcome checked = CheckWriteTarget(path, target, options); !checked) return checked;
    TemporaryFile temporary;
    if (Outcome written = temporary.Write(path, target, produce); !written) return written;
    if (!temporary.Commit(target.file, target.kind == WriteTarget::Kind::Regular)) {
        const int commitErrno = errno;
        return Outcome::Failure(path + ": cannot replace the file: " + std::strerror(commitErrno), commitErrno);
    }
    return Outcome();
}

Outcome CheckWriteTarget(const std::string& path, const WriteTarget& target, const AtomicWriteOptions& options)
{
    if (target.kind == WriteTarget::Kind::Unusable || target.kind == WriteTarget::Kind::NotRegular)
        return Outcome::Failure(target.error, target.errorNumber);
    if (target.kind == WriteTarget::Kind::Regular && target.readOnly && !options.replaceReadOnly)
        return Outcome::Failure(path + ": the file is read-only; nothing was written");
    return Outcome();
}

Outcome WriteFileAtomically(const std::string& path, std::string_view data, const AtomicWriteOptions& options)
{
    return WriteFileAtomically(
        path, [data](FileSink& sink) { return sink.Write(data); }, options);
}

}  // namespace m3d
