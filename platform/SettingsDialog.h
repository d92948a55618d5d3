// SettingsDialog: a small modal dialog built from a control table.
//
// The layer draws the dialog (GTK 3) and turns what the viewer does into
// the events the dialog procedure expects; the procedure itself is plain
// code of the caller's and runs the same with or without a display.
#pragma once

#include <functional>

namespace platform {

enum class DialogControlKind { RadioButton, CheckBox, DefaultButton, Button, GroupBox, Icon };

// One control of the template; positions and sizes in dialog units.
struct DialogControl {
  int id;  // -1 for controls without an id
  DialogControlKind kind;
  const char* caption;
  int x, y, width, height;
};

struct DialogTemplate {
  const char* caption;
  int width, height;  // dialog units
  const DialogControl* controls;
  int controlCount;
};

// What the procedure can do to the dialog it runs in.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;
  virtual bool isChecked(int id) const = 0;
  virtual void setChecked(int id, bool checked) = 0;
  // Destroys the dialog; the procedure then receives the Destroy event.
  virtual void destroy() = 0;
  // Ends the dialog's message loop (after the dialog is gone).
  virtual void postQuit(int code) = 0;
};

enum class DialogEvent { Destroy, Move, Command, Close };

// Returns true when the event was handled.
using DialogProcedure = std::function<bool(DialogWindow& dialog, DialogEvent event, int id)>;

// The command id a dialog's Cancel button carries; Escape sends it too.
constexpr int dialogCancelId = 2;
constexpr int virtualKeyEscape = 27;

// The dialog's own key handling, before any control sees the key: Escape
// is the Cancel command. True when the key was consumed.
bool dialogKey(DialogWindow& dialog, const DialogProcedure& procedure, int virtualKey);

// Runs the dialog centred on the desktop until the procedure posts quit.
// init sets the controls before the dialog is shown. False when no dialog
// could be made (no display).
bool runDialog(const DialogTemplate& dialogTemplate, const DialogProcedure& procedure,
               const std::function<void(DialogWindow&)>& init);

}  // namespace platform
