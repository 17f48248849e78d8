#pragma once

#include "foreign/ForeignModel.h"
#include "io/ChildProcess.h"
#include "io/Outcome.h"

#include <string>

namespace m3d {

// Other programs' formats are read by a child process of ours (the
// command-line program's "read-model" command), so that a crash, a hang or a
// memory blow-up in a library under it costs the child, never the editor
// and its unsaved work. The records come back over a pipe (ForeignRecords.h)
// and are checked like any file.

// The program that reads for us (an absolute path): marionettica3d-cli in
// the folder of the running program unless set otherwise.
void SetForeignReaderProgram(const std::string& path);
const std::string& ForeignReaderProgram();

// The limits a read runs under: 2 minutes, 2 minutes of CPU, an address
// space of half the machine's memory (at most 4 GiB), 4 GiB of records.
ChildLimits ForeignReadLimits();

// Reads the model at path in a child process under limits; out is left
// empty on failure, and the message names path and says what went wrong
// (the reader's own message, or that it crashed, ran out of time or memory).
Outcome ReadForeignModelInChild(const std::string& path, ForeignModel& out,
                                const ChildLimits& limits = ForeignReadLimits());

// model as ReadForeignModelInChild hands it over, turned into the editor's
// space with its lengths times scale (ForeignSpace.h) and its images kept to
// the folder of path unless imageScope is Anywhere (KeepImagesInModelFolder).
// scale must be finite and positive: otherwise the failure names path and
// model is left as it was.
Outcome BringForeignModelIn(ForeignModel& model, const std::string& path, float scale, NamedFileScope imageScope);

// ReadForeignModelInChild, then BringForeignModelIn; out is left empty on
// failure (a scale that is no factor fails before anything is read).
Outcome ReadForeignModelFile(const std::string& path, float scale, ForeignModel& out,
                             NamedFileScope imageScope = NamedFileScope::InFolder);

}  // namespace m3d
