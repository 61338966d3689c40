#pragma once
// Parts that several windows are built of: labels named for the language
// file, the OK and Cancel row of a dialog, the fixed-size buttons of the
// hot-key windows' panels, and the placement of a window over its owner.

#include <QString>
#include <vector>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QWidget;

namespace plumgr::ui {

// A label with its objectName; its mnemonic moves the focus to the buddy.
QLabel* MakeNamedLabel(QWidget* parent, const char* name, const QString& text,
                       QWidget* buddy = nullptr);

// OK (the default button: Enter) and Cancel (Escape) for the dialog, named as
// the language file knows them; OK calls the dialog's accept, Cancel its reject.
QDialogButtonBox* MakeOkCancel(QDialog* dialog, const char* ok_name = "OKBtn",
                               const char* cancel_name = "CancelBtn");

// A button of the hot-key windows' bottom panels, at the size the panels have.
QPushButton* MakePanelButton(QWidget* panel, const char* name, const QString& caption);

// Tab moves through the widgets in this order (the ones not named keep theirs).
void ChainTabOrder(const std::vector<QWidget*>& widgets);

// Moves a top-level window so that it is centred over its parent's frame.
void CentreOverOwner(QWidget* window);

}  // namespace plumgr::ui
