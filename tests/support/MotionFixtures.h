#pragma once

#include "anim/MotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "support/SceneFixtures.h"

#include <gtest/gtest.h>

namespace m3d {

// A session with parts cubes and one Motion "walk" of length, current.
struct MotionSessionFixture {
    TempFolder folder;
    EditorSession session;

    MotionSessionFixture(int parts, int length)
    {
        for (int i = 0; i < parts; ++i) AddCube(session, folder, "p" + std::to_string(i) + ".mqo");
        session.History().Clear();
        EXPECT_TRUE(NewMotionCommand(session, "walk"));
        EXPECT_TRUE(SetMotionLengthCommand(session, length));
    }

    MotionTrack& Track(int part) { return session.GetScene().MutableMotions()[session.CurrentMotion()].tracks[part]; }
    bool HasKey(int part, int frame) { return Track(part).FindKey(frame) >= 0; }
    // Stores a key whose translation x is marker, to tell keys apart.
    void PutKey(int part, int frame, float marker)
    {
        ASSERT_TRUE(
            SetKeyMatrix(session.GetScene(), session.CurrentMotion(), part, frame, MatrixTranslation(marker, 0, 0)));
    }
    float Marker(int part, int frame) { return Track(part).keys[Track(part).FindKey(frame)].matrix.m[3][0]; }
};

}  // namespace m3d
