#pragma once

#include "editor/ModelImportCommands.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;
class QTreeWidget;

namespace m3d {

// The questions of "モデルを読み込む" once its file is read: the scale of its
// lengths (ProposedImportScale for the project's unit unless changed; the
// model's size in the file is shown beside it), whether the images it names outside its folder
// are read (not unless ticked), and, for a model with animations, which of
// them become Motions (a row each: name, length in frames, Parts it moves,
// ticked as ImportableAnimations offers them) and whether each starts at its
// first key (ticked; the lengths follow the box). OK keeps a scale field that
// CheckFloatField refuses open with the field selected.
class ImportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // model as ReadForeignModelInChild hands it over, its animations sampled
    // at framesPerSecond, into a project of unit projectUnit (metres per unit
    // or kUnknownLengthUnit).
    ImportOptionsDialog(const ForeignModel& model, int framesPerSecond, double projectUnit, QWidget* parent);

    QLineEdit* ScaleField() const { return scale; }
    // What was chosen, at framesPerSecond; the scale as accepted by OK.
    ModelImportOptions Options() const;

    void accept() override;

private:
    void ShowLengths();

    ModelImportOptions options;
    QLineEdit* scale;
    QCheckBox* outsideImages;
    QTreeWidget* animations = nullptr;
    QCheckBox* firstKey = nullptr;
    // Per animation, its Motion's length from its first key and from time 0.
    std::vector<int> lengthsFromFirstKey, lengthsFromZero;
};

}  // namespace m3d
