#include "anim/ImportScale.h"

#include <gtest/gtest.h>

using namespace m3d;

// The scale proposed for a model's size and units, and the size as the import dialog words it.
TEST(ImportScale, ProposalsBringTheModelToAWorkingSizeOrKeepTheProjectsUnit)
{
    EXPECT_EQ(ProposedImportScale(0.7, 1.0, kUnknownLengthUnit), 100.0f);  // a lamp in metres: centimetres
    EXPECT_EQ(ProposedImportScale(70.0, 0.01, kUnknownLengthUnit), 1.0f);  // the same lamp from an FBX
    EXPECT_EQ(ProposedImportScale(200.0, kUnknownLengthUnit, kUnknownLengthUnit), 0.1f);
    EXPECT_EQ(ProposedImportScale(20.0, kUnknownLengthUnit, kUnknownLengthUnit), 1.0f);
    EXPECT_EQ(ProposedImportScale(1e-9, 1.0, kUnknownLengthUnit), 10000.0f);  // as far as a scale goes
    EXPECT_EQ(ProposedImportScale(0.0, 1.0, kUnknownLengthUnit), 1.0f);
    // A project in centimetres takes a 5 m house in metres at 100, whatever its size.
    EXPECT_EQ(ProposedImportScale(5.0, 1.0, 0.01), 100.0f);

    EXPECT_EQ(ModelSizeText({0.3f, 0.7f, 0.2f}, 1.0), "30 cm × 70 cm × 20 cm");
    EXPECT_EQ(ModelSizeText({1.8f, 12345.0f, 0.0042f}, 1.0), "1.8 m × 12.3 km × 4.2 mm");
    EXPECT_EQ(ModelSizeText({0.3f, 0.7f, 0.2f}, kUnknownLengthUnit), "0.3 × 0.7 × 0.2");
}
