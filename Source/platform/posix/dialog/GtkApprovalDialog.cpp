// The approval and refusal dialogs in GTK 3, laid out like the host's
// Windows dialog resources: every control at its place in dialog units,
// converted with the base units of the dialog's font. Built as a module of
// its own that the host loads on the first dialog (see ApprovalDialogModule.h).
// GTK is started on that first dialog, on the thread that handles requests,
// the only one that shows dialogs.
#include <gtk/gtk.h>

#include <map>
#include <string>
#include <vector>

#include "platform/posix/dialog/ApprovalDialogModule.h"

namespace platform {

namespace {

constexpr const char* kDialogTitle = "TavmoClientForWeb";
// A dialog takes no click or key this soon after it is shown: a click or a
// Return meant for the page's window must not answer a dialog that appeared
// under it.
constexpr unsigned kIgnoreInputMs = 700;

enum ControlId {
    kRememberBox = 1000,
    kYesButton = 1001,
    kNoButton = 1002,
    kOkButton = 1003,
    kJoinButton = 1004,
    kQuestionText = 1005,
    kWebsiteText = 1006,
    kNoId = -1,
};

enum class Kind { Text, Button, CheckBox };

struct Control {
    int id;
    Kind kind;
    const char* text;
    int x, y, width, height;  // dialog units
};

struct DialogTemplate {
    int width, height;  // dialog units
    std::vector<Control> controls;
};

const DialogTemplate kApprovalDialog{
    400,
    100,
    {
        {kWebsiteText, Kind::Text, "", 7, 7, 386, 11},
        {kQuestionText, Kind::Text,
         "is requesting your permission to use your camera and microphone for a video conference.\n\nDo you agree?", 20,
         23, 357, 34},
        {kYesButton, Kind::Button, "Yes", 61, 62, 70, 15},
        {kNoButton, Kind::Button, "No", 270, 62, 70, 15},
        {kRememberBox, Kind::CheckBox, "If Yes, do not ask again for this website.", 7, 83, 386, 10},
    },
};

const DialogTemplate kRefusalDialog{
    316,
    90,
    {
        {kNoId, Kind::Text,
         "\nYou have selected not to join the video conference.\n\nIf you want to change your mind and join,\n\n"
         "please click Join.",
         23, 7, 270, 56},
        {kOkButton, Kind::Button, "OK", 40, 69, 70, 14},
        {kJoinButton, Kind::Button, "Join", 206, 69, 70, 14},
    },
};

bool displayOpened() {
    static bool locked = false;
    if (!locked) {
        // The host's number formatting must not follow the user's locale.
        gtk_disable_setlocale();
        locked = true;
    }
    return gtk_init_check(nullptr, nullptr);
}

// Pixels per dialog unit, from the font's average character width and its
// height, as dialog resources are scaled.
struct Scale {
    double x;
    double y;
};

Scale dialogScale(GtkWidget* window) {
    PangoLayout* layout =
        gtk_widget_create_pango_layout(window, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    int averageWidth = (width / 26 + 1) / 2;
    return {averageWidth / 4.0, height / 8.0};
}

int pixels(int units, double scale) { return static_cast<int>(units * scale + 0.5); }

// One open dialog: its window, its controls by id, and the nested main loop
// that runs while it is open. Like the Windows dialog resources, it has no
// default button and no button has the focus, so neither Return nor Space
// chooses anything. A dialog that another program destroys closes with
// `refusalId`.
class Dialog {
public:
    Dialog(const DialogTemplate& layout, GtkWindow* owner, int refusalId)
        : loop_(g_main_loop_new(nullptr, FALSE)), refusalId_(refusalId) {
        window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        // Kept until this object goes, even when the window is destroyed.
        g_object_ref(window_);
        destroyHandler_ = g_signal_connect(window_, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer dialog) {
                                               auto* self = static_cast<Dialog*>(dialog);
                                               self->destroyed_ = true;
                                               self->stopArmTimer();
                                               self->close(self->refusalId_);
                                           }),
                                           this);
        if (owner) gtk_window_set_destroy_with_parent(GTK_WINDOW(window_), TRUE);
        gtk_window_set_title(GTK_WINDOW(window_), kDialogTitle);
        gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
        gtk_window_set_modal(GTK_WINDOW(window_), TRUE);
        gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
        if (owner) gtk_window_set_transient_for(GTK_WINDOW(window_), owner);
        // Only the dialog's buttons close it.
        g_signal_connect(window_, "delete-event", G_CALLBACK(gtk_true), nullptr);

        Scale scale = dialogScale(window_);
        GtkWidget* area = gtk_fixed_new();
        area_ = area;
        // Until kIgnoreInputMs after the window is mapped, no control takes input.
        gtk_widget_set_sensitive(area, FALSE);
        g_signal_connect(window_, "map-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer dialog) {
                             auto* self = static_cast<Dialog*>(dialog);
                             if (!self->mapped_) self->armTimer_ = g_timeout_add(kIgnoreInputMs, &Dialog::arm, self);
                             self->mapped_ = true;
                             return FALSE;
                         }),
                         this);
        gtk_widget_set_size_request(area, pixels(layout.width, scale.x), pixels(layout.height, scale.y));
        gtk_container_add(GTK_CONTAINER(window_), area);
        for (const Control& control : layout.controls) {
            GtkWidget* widget = makeControl(control);
            gtk_widget_set_size_request(widget, pixels(control.width, scale.x), pixels(control.height, scale.y));
            gtk_fixed_put(GTK_FIXED(area), widget, pixels(control.x, scale.x), pixels(control.y, scale.y));
            if (control.id != kNoId) controls_[control.id] = widget;
        }
        width_ = pixels(layout.width, scale.x);
        height_ = pixels(layout.height, scale.y);
    }

    ~Dialog() {
        stopArmTimer();
        g_signal_handler_disconnect(window_, destroyHandler_);
        if (!destroyed_) gtk_widget_destroy(window_);
        g_object_unref(window_);
        // Let the window go from the screen now, not at the next dialog.
        gdk_display_flush(gdk_display_get_default());
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
        g_main_loop_unref(loop_);
    }

    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    GtkWidget* control(int id) { return controls_.at(id); }
    GtkWindow* window() { return GTK_WINDOW(window_); }

    // Calls `onClick(this, id)` for each button the user presses.
    void onButtons(void (*onClick)(Dialog*, int)) { onClick_ = onClick; }

    void centreOnPrimaryScreen() {
        GdkRectangle screen{};
        GdkDisplay* display = gdk_display_get_default();
        GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
        if (!monitor) monitor = gdk_display_get_monitor(display, 0);
        if (monitor) gdk_monitor_get_geometry(monitor, &screen);
        gtk_window_move(GTK_WINDOW(window_), screen.x + screen.width / 2 - width_ / 2,
                        screen.y + screen.height / 2 - height_ / 2);
    }

    // Shows the dialog and returns the id it was closed with.
    int run() {
        gtk_widget_show_all(window_);
        // Showing gave the first button the focus.
        gtk_window_set_focus(GTK_WINDOW(window_), nullptr);
        gtk_window_present(GTK_WINDOW(window_));
        g_main_loop_run(loop_);
        return result_;
    }

    void close(int result) {
        result_ = result;
        g_main_loop_quit(loop_);
    }

private:
    static gboolean arm(gpointer dialog) {
        auto* self = static_cast<Dialog*>(dialog);
        self->armTimer_ = 0;
        gtk_widget_set_sensitive(self->area_, TRUE);
        return G_SOURCE_REMOVE;
    }

    void stopArmTimer() {
        if (armTimer_ != 0) g_source_remove(armTimer_);
        armTimer_ = 0;
    }

    GtkWidget* makeControl(const Control& control) {
        switch (control.kind) {
            case Kind::Text: {
                GtkWidget* label = gtk_label_new(control.text);
                gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
                gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
                gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
                return label;
            }
            case Kind::Button: return connectClick(gtk_button_new_with_label(control.text), control.id);
            case Kind::CheckBox: return gtk_check_button_new_with_label(control.text);
        }
        return nullptr;
    }

    GtkWidget* connectClick(GtkWidget* button, int id) {
        g_object_set_data(G_OBJECT(button), "control-id", GINT_TO_POINTER(id));
        g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkButton* clicked, gpointer dialog) {
                             auto* self = static_cast<Dialog*>(dialog);
                             int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(clicked), "control-id"));
                             if (self->onClick_) self->onClick_(self, id);
                         }),
                         this);
        return button;
    }

    GtkWidget* window_ = nullptr;
    GtkWidget* area_ = nullptr;
    GMainLoop* loop_;
    int refusalId_;
    gulong destroyHandler_ = 0;
    bool destroyed_ = false;
    guint armTimer_ = 0;
    bool mapped_ = false;
    std::map<int, GtkWidget*> controls_;
    void (*onClick_)(Dialog*, int) = nullptr;
    int result_ = 0;
    int width_ = 0;
    int height_ = 0;
};

int runRefusalDialog(GtkWindow* owner) {
    Dialog refusal(kRefusalDialog, owner, kOkButton);
    refusal.onButtons([](Dialog* dialog, int id) { dialog->close(id); });
    refusal.centreOnPrimaryScreen();
    return refusal.run();
}

void onApprovalButton(Dialog* dialog, int id) {
    if (id == kYesButton) dialog->close(kYesButton);
    if (id == kNoButton && runRefusalDialog(dialog->window()) == kOkButton) dialog->close(kNoButton);
}

}  // namespace

}  // namespace platform

// The module's entry, found by its name (dialogmodule::kEntryName).
extern "C" __attribute__((visibility("default"))) void TavmoAskForApproval(const char* websiteText,
                                                                           bool offerDoNotAskAgain,
                                                                           platform::ApprovalChoice* choice) {
    using namespace platform;
    *choice = ApprovalChoice();
    if (!displayOpened()) return;

    Dialog approval(kApprovalDialog, nullptr, kNoButton);
    gtk_label_set_text(GTK_LABEL(approval.control(kWebsiteText)), websiteText);
    gtk_label_set_line_wrap(GTK_LABEL(approval.control(kWebsiteText)), FALSE);
    // A long name keeps its start and its end in view, where the site's
    // own domain is.
    gtk_label_set_ellipsize(GTK_LABEL(approval.control(kWebsiteText)), PANGO_ELLIPSIZE_MIDDLE);
    gtk_widget_set_tooltip_text(approval.control(kWebsiteText), websiteText);
    gtk_widget_set_sensitive(approval.control(kRememberBox), offerDoNotAskAgain);
    approval.onButtons(onApprovalButton);
    approval.centreOnPrimaryScreen();
    gtk_window_set_keep_above(approval.window(), TRUE);
    // Draws the user's eye until the dialog has the focus.
    gtk_window_set_urgency_hint(approval.window(), TRUE);
    g_signal_connect(approval.window(), "focus-in-event", G_CALLBACK(+[](GtkWindow* window, GdkEvent*, gpointer) {
                         gtk_window_set_urgency_hint(window, FALSE);
                         return FALSE;
                     }),
                     nullptr);

    int result = approval.run();
    choice->answer = result == kYesButton ? ApprovalAnswer::Yes : ApprovalAnswer::No;
    choice->doNotAskAgain =
        result == kYesButton && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(approval.control(kRememberBox)));
}
