// SettingsDialog: the control table as a GTK 3 dialog.
#include "platform/SettingsDialog.h"

#include <gtk/gtk.h>

#include <map>

#include "res/icon.xpm"

namespace platform {

namespace {

// Dialog units of the 8-point dialog font, in pixels.
const double unitX = 1.75;
const double unitY = 1.75;

int toPixelsX(int units) { return static_cast<int>(units * unitX + 0.5); }
int toPixelsY(int units) { return static_cast<int>(units * unitY + 0.5); }

class GtkDialogWindow : public DialogWindow {
 public:
  GtkDialogWindow(const DialogProcedure& procedure) : procedure(procedure) {}

  bool isChecked(int id) const override {
    auto it = toggles.find(id);
    return it != toggles.end() && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(it->second));
  }
  void setChecked(int id, bool checked) override {
    auto it = toggles.find(id);
    if (it != toggles.end()) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(it->second), checked);
  }
  void destroy() override {
    if (window == nullptr) return;
    // The procedure sees the destroy while the controls still exist.
    procedure(*this, DialogEvent::Destroy, 0);
    GtkWidget* w = window;
    window = nullptr;
    toggles.clear();
    gtk_widget_destroy(w);
  }
  void postQuit(int) override { quit = true; }

  const DialogProcedure& procedure;
  GtkWidget* window = nullptr;
  std::map<int, GtkWidget*> toggles;
  bool quit = false;
};

struct ButtonContext {
  GtkDialogWindow* dialog;
  int id;
};

void onClicked(GtkWidget*, gpointer data) {
  auto* context = static_cast<ButtonContext*>(data);
  if (context->dialog->window != nullptr)
    context->dialog->procedure(*context->dialog, DialogEvent::Command, context->id);
}

gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data) {
  auto* dialog = static_cast<GtkDialogWindow*>(data);
  dialog->procedure(*dialog, DialogEvent::Close, 0);
  return TRUE;  // the procedure destroys the window itself
}

gboolean onKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto* dialog = static_cast<GtkDialogWindow*>(data);
  if (dialog->window == nullptr) return FALSE;
  const int virtualKey = event->keyval == GDK_KEY_Escape ? virtualKeyEscape : 0;
  return dialogKey(*dialog, dialog->procedure, virtualKey) ? TRUE : FALSE;
}

gboolean onConfigure(GtkWidget*, GdkEvent*, gpointer data) {
  auto* dialog = static_cast<GtkDialogWindow*>(data);
  dialog->procedure(*dialog, DialogEvent::Move, 0);
  return FALSE;
}

const char* dialogCss =
    "* { font-family: Sans; font-size: 8pt; }"
    "button { padding: 0; min-height: 0; }"
    "radiobutton, checkbutton { padding: 0; min-height: 0; }";

}  // namespace

bool dialogKey(DialogWindow& dialog, const DialogProcedure& procedure, int virtualKey) {
  if (virtualKey != virtualKeyEscape) return false;
  procedure(dialog, DialogEvent::Command, dialogCancelId);
  return true;
}

bool runDialog(const DialogTemplate& tmpl, const DialogProcedure& procedure,
               const std::function<void(DialogWindow&)>& init) {
  if (!gtk_init_check(nullptr, nullptr)) return false;

  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, dialogCss, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);

  GtkDialogWindow dialog(procedure);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  dialog.window = window;
  gtk_window_set_title(GTK_WINDOW(window), tmpl.caption);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
  GdkPixbuf* icon = gdk_pixbuf_new_from_xpm_data(zoltIcon);
  gtk_window_set_icon(GTK_WINDOW(window), icon);

  const int width = toPixelsX(tmpl.width);
  const int height = toPixelsY(tmpl.height);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, width, height);
  gtk_container_add(GTK_CONTAINER(window), fixed);

  std::map<int, ButtonContext> contexts;
  GSList* radioGroup = nullptr;
  GtkWidget* defaultButton = nullptr;
  for (int i = 0; i < tmpl.controlCount; ++i) {
    const DialogControl& c = tmpl.controls[i];
    GtkWidget* widget = nullptr;
    switch (c.kind) {
      case DialogControlKind::RadioButton:
        widget = gtk_radio_button_new_with_label(radioGroup, c.caption);
        radioGroup = gtk_radio_button_get_group(GTK_RADIO_BUTTON(widget));
        break;
      case DialogControlKind::CheckBox:
        widget = gtk_check_button_new_with_label(c.caption);
        break;
      case DialogControlKind::DefaultButton:
      case DialogControlKind::Button:
        widget = gtk_button_new_with_label(c.caption);
        if (c.kind == DialogControlKind::DefaultButton) defaultButton = widget;
        break;
      case DialogControlKind::GroupBox:
        widget = gtk_frame_new(c.caption);
        break;
      case DialogControlKind::Icon:
        widget = gtk_image_new_from_pixbuf(icon);
        break;
    }
    gtk_widget_set_size_request(widget, toPixelsX(c.width), toPixelsY(c.height));
    gtk_fixed_put(GTK_FIXED(fixed), widget, toPixelsX(c.x), toPixelsY(c.y));
    if (c.kind == DialogControlKind::RadioButton || c.kind == DialogControlKind::CheckBox)
      dialog.toggles[c.id] = widget;
    if (c.id >= 0 && c.kind != DialogControlKind::GroupBox && c.kind != DialogControlKind::Icon) {
      contexts[c.id] = ButtonContext{&dialog, c.id};
      g_signal_connect(widget, "clicked", G_CALLBACK(onClicked), &contexts[c.id]);
    }
  }
  g_object_unref(icon);
  if (defaultButton != nullptr) {
    gtk_widget_set_can_default(defaultButton, TRUE);
    gtk_window_set_default(GTK_WINDOW(window), defaultButton);
  }
  g_signal_connect(window, "delete-event", G_CALLBACK(onDelete), &dialog);
  g_signal_connect(window, "key-press-event", G_CALLBACK(onKeyPress), &dialog);
  g_signal_connect(window, "configure-event", G_CALLBACK(onConfigure), &dialog);

  init(dialog);

  // Centre on the desktop by client sizes, integer halves.
  GdkRectangle desktop{0, 0, width, height};
  GdkMonitor* monitor = gdk_display_get_primary_monitor(gdk_display_get_default());
  if (monitor == nullptr) monitor = gdk_display_get_monitor(gdk_display_get_default(), 0);
  if (monitor != nullptr) gdk_monitor_get_workarea(monitor, &desktop);
  gtk_widget_show_all(window);
  gtk_window_move(GTK_WINDOW(window), desktop.x + desktop.width / 2 - width / 2,
                  desktop.y + desktop.height / 2 - height / 2);

  while (!dialog.quit) gtk_main_iteration_do(TRUE);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  return true;
}

}  // namespace platform
