// Elements, attributes, layout, the main loop and the modal dialogs of the
// windowing layer, over FLTK.

#include "gui/toolkit.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/assertion.h"
#include "gui/element.h"
#include "gui/testing.h"

namespace {

// A canvas given no "RASTERSIZE" is laid out at this size.
const int DEFAULT_CANVAS_WIDTH = 320;
const int DEFAULT_CANVAS_HEIGHT = 240;
// "RASTERSIZE" values are limited to this many pixels a side, so that a
// canvas's pixel store stays within reason whatever size a program asks for.
const int MAX_CANVAS_SIDE = 8192;
// Room around a button's label and around the message box's contents.
const int BUTTON_PAD_X = 10;
const int BUTTON_PAD_Y = 5;
const int MESSAGE_PAD = 15;
const int MESSAGE_BUTTON_WIDTH = 80;

struct Layer {
    std::vector<std::unique_ptr<Ihandle>> elements;
    std::map<std::string, Icallback> functions;
    bool closeRequested = false;
    // Tests' answers to the modal dialogs (gui/testing.h).
    GuiFileAnswer fileAnswer = nullptr;
    GuiMessageAnswer messageAnswer = nullptr;
};

Layer layer;

const char *const OWN_ATTRIBUTES[] = {"ACTION",     "TITLE",  "RASTERSIZE", "SIZE",
                                      "DIALOGTYPE", "FILTER", "FILTERINFO", "VALUE"};

bool isOwnAttribute(const char *name)
{
    for (const char *own : OWN_ATTRIBUTES)
        if (std::strcmp(own, name) == 0)
            return true;
    return false;
}

Icallback findFunction(const std::string &name)
{
    auto it = layer.functions.find(name);
    return it == layer.functions.end() ? nullptr : it->second;
}

// FLTK's wait sleeps until an event comes unless an FLTK idle callback is
// registered, and it runs timeouts and draws (where callbacks may register
// the idle function or ask to close) before it decides to sleep. So the
// layer keeps a do-nothing FLTK idle callback registered exactly while the
// main loop must not sleep: an idle function is registered, or a close was
// asked for. Modal dialogs sleep in their own loops, so none is kept while
// one is open.
int modalDepth = 0;

void keepAwake(void *) {}

void syncWake()
{
    const bool awake =
        modalDepth == 0 && (layer.closeRequested || findFunction("iup-idle") != nullptr);
    if (awake && !Fl::has_idle(keepAwake))
        Fl::add_idle(keepAwake);
    else if (!awake && Fl::has_idle(keepAwake))
        Fl::remove_idle(keepAwake);
}

// Runs a modal dialog's loop while shown() says it is on show.
template <class Shown> void runModal(Shown shown)
{
    ++modalDepth;
    syncWake();
    while (shown())
        Fl::wait();
    --modalDepth;
    syncWake();
}

const char *textOf(const Ihandle *element, const char *name)
{
    auto it = element->texts.find(name);
    return it == element->texts.end() ? nullptr : it->second.c_str();
}

Ihandle *makeElement(ElementKind kind)
{
    layer.elements.push_back(std::make_unique<Ihandle>());
    Ihandle *element = layer.elements.back().get();
    element->kind = kind;
    return element;
}

void adopt(Ihandle *parent, Ihandle *child)
{
    GLINT_ASSERT(child->parent == nullptr);
    child->parent = parent;
    parent->children.push_back(child);
}

Ihandle *dialogOf(Ihandle *element)
{
    while (element != nullptr && element->kind != ElementKind::Dialog)
        element = element->parent;
    return element;
}

// ---- layout ----

struct Extent {
    int width;
    int height;
};

bool expands(const Ihandle *element)
{
    switch (element->kind) {
    case ElementKind::Canvas:
        return true;
    case ElementKind::Vbox:
    case ElementKind::Hbox:
    case ElementKind::Dialog:
        for (const Ihandle *child : element->children)
            if (expands(child))
                return true;
        return false;
    default:
        return false;
    }
}

Extent naturalExtent(const Ihandle *element)
{
    switch (element->kind) {
    case ElementKind::Canvas:
        return {element->rasterWidth, element->rasterHeight};
    case ElementKind::Button: {
        const char *label = element->button->label();
        int width = 0;
        int height = 0;
        fl_font(element->button->labelfont(), element->button->labelsize());
        fl_measure(label != nullptr ? label : "", width, height, 0);
        height = std::max(height, fl_height());
        return {width + 2 * BUTTON_PAD_X, height + 2 * BUTTON_PAD_Y};
    }
    case ElementKind::Vbox: {
        Extent total{0, 0};
        for (const Ihandle *child : element->children) {
            Extent e = naturalExtent(child);
            total.width = std::max(total.width, e.width);
            total.height += e.height;
        }
        return total;
    }
    case ElementKind::Hbox: {
        Extent total{0, 0};
        for (const Ihandle *child : element->children) {
            Extent e = naturalExtent(child);
            total.width += e.width;
            total.height = std::max(total.height, e.height);
        }
        return total;
    }
    case ElementKind::Dialog:
        if (element->children.empty())
            return {0, 0};
        return naturalExtent(element->children.front());
    default:
        return {0, 0};
    }
}

void place(Ihandle *element, int x, int y, int width, int height);

// Lays out the children of a box along its axis: each gets its natural
// length, and the space left over (or missing) is shared among the children
// that expand. Across the axis an expanding child fills the box.
void placeChildren(Ihandle *box, int x, int y, int width, int height, bool vertical)
{
    std::vector<Extent> naturals;
    int used = 0;
    int expanders = 0;
    for (const Ihandle *child : box->children) {
        naturals.push_back(naturalExtent(child));
        used += vertical ? naturals.back().height : naturals.back().width;
        if (expands(child))
            ++expanders;
    }
    const int extra = (vertical ? height : width) - used;
    int position = vertical ? y : x;
    int expandersLeft = expanders;
    int extraLeft = extra;
    for (size_t i = 0; i < box->children.size(); ++i) {
        Ihandle *child = box->children[i];
        const bool grows = expands(child);
        int length = vertical ? naturals[i].height : naturals[i].width;
        if (grows) {
            const int share = expandersLeft == 1 ? extraLeft : extra / expanders;
            length += share;
            extraLeft -= share;
            --expandersLeft;
        }
        length = std::max(length, 0);
        if (vertical) {
            const int across = grows ? width : std::min(naturals[i].width, width);
            place(child, x, position, across, length);
        } else {
            const int across = grows ? height : std::min(naturals[i].height, height);
            place(child, position, y, length, across);
        }
        position += length;
    }
}

// Whether any widget changed place or size in the last layout.
bool layoutMoved = false;

void placeWidget(Fl_Widget *widget, int x, int y, int width, int height)
{
    if (widget->x() == x && widget->y() == y && widget->w() == width && widget->h() == height)
        return;
    widget->resize(x, y, width, height);
    layoutMoved = true;
}

void place(Ihandle *element, int x, int y, int width, int height)
{
    switch (element->kind) {
    case ElementKind::Canvas:
        placeWidget(element->view, x, y, width, height);
        break;
    case ElementKind::Button:
        placeWidget(element->button, x, y, width, height);
        break;
    case ElementKind::Vbox:
        placeChildren(element, x, y, width, height, true);
        break;
    case ElementKind::Hbox:
        placeChildren(element, x, y, width, height, false);
        break;
    default:
        break;
    }
}

// ---- dialogs ----

void dialogClosed(Fl_Widget *window, void *)
{
    // Escape does not close a dialog; the window manager's close control does.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
        return;
    window->hide();
}

void buttonPressed(Fl_Widget *, void *data) { guiRunAction(static_cast<Ihandle *>(data)); }

int clampSide(int side) { return std::min(std::max(side, 0), MAX_CANVAS_SIDE); }

// The text of a modal message box, drawn as it is (no label symbols).
class MessageText : public Fl_Widget {
public:
    MessageText(int x, int y, int width, int height, const char *text)
        : Fl_Widget(x, y, width, height), text_(text)
    {
    }
    void draw() override
    {
        fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
        fl_color(FL_FOREGROUND_COLOR);
        fl_draw(text_.c_str(), x(), y(), w(), h(), FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE, nullptr, 0);
    }

private:
    std::string text_;
};

void centre(Fl_Window *window)
{
    window->position(Fl::x() + (Fl::w() - window->w()) / 2, Fl::y() + (Fl::h() - window->h()) / 2);
}

}  // namespace

// The window of a dialog element. Its children are the widgets of the
// element's tree, placed by the layer's own layout at every size change.
class DialogWindow : public Fl_Window {
public:
    explicit DialogWindow(Ihandle *element) : Fl_Window(1, 1), element_(element)
    {
        end();
        callback(dialogClosed);
        resizable(this);
    }

    void resize(int x, int y, int width, int height) override
    {
        const bool sized = width != w() || height != h();
        Fl_Window::resize(x, y, width, height);
        if (sized)
            layOut();
    }

    void layOut()
    {
        layoutMoved = false;
        if (!element_->children.empty())
            place(element_->children.front(), 0, 0, w(), h());
        // The group's record of its children's places feeds FLTK's own
        // resizing, which runs before the layer's at each size change.
        init_sizes();
        if (layoutMoved)
            redraw();
    }

private:
    Ihandle *element_;
};

namespace {

bool anyDialogShown()
{
    for (const auto &element : layer.elements)
        if (element->window != nullptr && element->window->shown())
            return true;
    return false;
}

// Gives the dialog its contents' size (at least one pixel a side) and lays it
// out.
void fitDialog(Ihandle *dialog)
{
    Extent natural = naturalExtent(dialog);
    DialogWindow *window = dialog->window;
    window->size(std::max(natural.width, 1), std::max(natural.height, 1));
    window->layOut();
}

void addWidgets(DialogWindow *window, Ihandle *element)
{
    if (element->view != nullptr)
        window->add(element->view);
    if (element->button != nullptr)
        window->add(element->button);
    for (Ihandle *child : element->children)
        addWidgets(window, child);
}

}  // namespace

void guiRunAction(Ihandle *element)
{
    const char *action = textOf(element, "ACTION");
    if (action == nullptr)
        return;
    Icallback func = findFunction(action);
    if (func == nullptr)
        return;
    if (func(element) == IUP_CLOSE) {
        layer.closeRequested = true;
        syncWake();
    }
}

void IupOpen() { layer.closeRequested = false; }

void IupClose()
{
    for (const auto &element : layer.elements)
        if (element->window != nullptr)
            element->window->hide();
    // Widgets first, each taken out of its window, then the empty windows.
    for (const auto &element : layer.elements) {
        Fl_Widget *widget = element->view != nullptr ? static_cast<Fl_Widget *>(element->view)
                                                     : element->button;
        if (widget == nullptr)
            continue;
        if (widget->parent() != nullptr)
            widget->parent()->remove(widget);
        delete widget;
    }
    for (const auto &element : layer.elements)
        delete element->window;
    layer.elements.clear();
    layer.functions.clear();
    layer.closeRequested = false;
    syncWake();
    cdActivate(nullptr);
}

void IupMainLoop()
{
    layer.closeRequested = false;
    syncWake();
    while (!layer.closeRequested && anyDialogShown()) {
        // Handles what is waiting and puts the canvases' new pixels on the
        // screen; sleeps until an event comes only while there is no idle
        // function to run (see syncWake).
        Fl::wait();
        if (layer.closeRequested || !anyDialogShown())
            break;
        Icallback idle = findFunction("iup-idle");
        if (idle != nullptr && !Fl::ready() && idle(nullptr) == IUP_CLOSE)
            layer.closeRequested = true;
    }
    layer.closeRequested = false;
    syncWake();
    // What was drawn last reaches the screen before the program goes on.
    for (const auto &element : layer.elements)
        if (element->view != nullptr)
            element->view->flushPending();
    Fl::flush();
}

Ihandle *IupDialog(Ihandle *child)
{
    Ihandle *dialog = makeElement(ElementKind::Dialog);
    Fl_Group::current(nullptr);
    dialog->window = new DialogWindow(dialog);
    if (child != nullptr) {
        adopt(dialog, child);
        addWidgets(dialog->window, child);
    }
    Fl_Group::current(nullptr);
    return dialog;
}

static Ihandle *makeBox(ElementKind kind, Ihandle *child, va_list args)
{
    Ihandle *box = makeElement(kind);
    for (Ihandle *c = child; c != nullptr; c = va_arg(args, Ihandle *))
        adopt(box, c);
    return box;
}

Ihandle *IupVbox(Ihandle *child, ...)
{
    va_list args;
    va_start(args, child);
    Ihandle *box = makeBox(ElementKind::Vbox, child, args);
    va_end(args);
    return box;
}

Ihandle *IupHbox(Ihandle *child, ...)
{
    va_list args;
    va_start(args, child);
    Ihandle *box = makeBox(ElementKind::Hbox, child, args);
    va_end(args);
    return box;
}

Ihandle *IupButton(const char *title, const char *action)
{
    Ihandle *button = makeElement(ElementKind::Button);
    Fl_Group::current(nullptr);
    button->button = new Fl_Button(0, 0, 1, 1);
    button->button->callback(buttonPressed, button);
    if (title != nullptr)
        IupSetAttribute(button, "TITLE", title);
    if (action != nullptr)
        IupSetAttribute(button, "ACTION", action);
    return button;
}

Ihandle *IupCanvas(const char *action)
{
    Ihandle *canvas = makeElement(ElementKind::Canvas);
    canvas->rasterWidth = DEFAULT_CANVAS_WIDTH;
    canvas->rasterHeight = DEFAULT_CANVAS_HEIGHT;
    Fl_Group::current(nullptr);
    canvas->view = new CanvasView(canvas, DEFAULT_CANVAS_WIDTH, DEFAULT_CANVAS_HEIGHT);
    if (action != nullptr)
        IupSetAttribute(canvas, "ACTION", action);
    return canvas;
}

Ihandle *IupFileDlg() { return makeElement(ElementKind::FileDialog); }

void IupShowXY(Ihandle *dialog, int x, int y)
{
    GLINT_ASSERT(dialog != nullptr && dialog->kind == ElementKind::Dialog);
    fl_open_display();
    DialogWindow *window = dialog->window;
    if (!dialog->laidOut) {
        dialog->laidOut = true;
        fitDialog(dialog);
        window->size_range(1, 1);
    }
    const int left = x == -1 ? (Fl::w() - window->w()) / 2 : x == -2 ? 0 : x;
    const int top = y == -1 ? (Fl::h() - window->h()) / 2 : y == -2 ? 0 : y;
    window->position(Fl::x() + left, Fl::y() + top);
    // Only shown here: no event is handled before the program's main loop,
    // so a click on the new window waits until the program has registered
    // its callbacks, and the first redraw comes from the main loop too.
    window->show();
}

void IupSetFunction(const char *name, Icallback func)
{
    GLINT_ASSERT(name != nullptr);
    if (func == nullptr)
        layer.functions.erase(name);
    else
        layer.functions[name] = func;
    syncWake();
}

void IupSetAttribute(Ihandle *element, const char *name, const char *value)
{
    GLINT_ASSERT(element != nullptr && name != nullptr);
    if (!isOwnAttribute(name)) {
        if (value == nullptr)
            element->pointers.erase(name);
        else
            element->pointers[name] = value;
        return;
    }
    const std::string key = name;
    if (key == "SIZE") {
        GLINT_ASSERT(value == nullptr && element->kind == ElementKind::Dialog);
        if (element->laidOut)
            fitDialog(element);
        return;
    }
    GLINT_ASSERT(key != "VALUE");
    if (key == "DIALOGTYPE")
        GLINT_ASSERT(value == nullptr || std::strcmp(value, "OPEN") == 0);
    int width = DEFAULT_CANVAS_WIDTH;
    int height = DEFAULT_CANVAS_HEIGHT;
    if (key == "RASTERSIZE" && value != nullptr) {
        char rest = 0;
        if (std::sscanf(value, "%dx%d%c", &width, &height, &rest) != 2)
            return;  // not "WxH": ignored, the size stays as it was
    }
    if (value == nullptr)
        element->texts.erase(key);
    else
        element->texts[key] = value;

    if (key == "TITLE") {
        if (element->button != nullptr)
            element->button->copy_label(value);
        if (element->window != nullptr)
            element->window->copy_label(value);
    } else if (key == "RASTERSIZE" && element->kind == ElementKind::Canvas) {
        // NULL gives the canvas its default size back.
        element->rasterWidth = clampSide(width);
        element->rasterHeight = clampSide(height);
        // Until its dialog is laid out the canvas simply has this size; after
        // that the dialog's layout gives it (see "SIZE").
        Ihandle *dialog = dialogOf(element);
        if (dialog == nullptr || !dialog->laidOut)
            element->view->size(element->rasterWidth, element->rasterHeight);
    }
}

char *IupGetAttribute(Ihandle *element, const char *name)
{
    GLINT_ASSERT(element != nullptr && name != nullptr);
    if (isOwnAttribute(name))
        return const_cast<char *>(textOf(element, name));
    auto it = element->pointers.find(name);
    return it == element->pointers.end() ? nullptr : const_cast<char *>(it->second);
}

void IupPopup(Ihandle *fileDialog, int, int)
{
    GLINT_ASSERT(fileDialog != nullptr && fileDialog->kind == ElementKind::FileDialog);
    fileDialog->texts.erase("VALUE");
    if (layer.fileAnswer != nullptr) {
        if (const char *chosen = layer.fileAnswer(fileDialog))
            fileDialog->texts["VALUE"] = chosen;
        return;
    }
    fl_open_display();
    std::string pattern;
    if (const char *filter = textOf(fileDialog, "FILTER")) {
        pattern = filter;
        if (const char *info = textOf(fileDialog, "FILTERINFO"))
            pattern = std::string(info) + " (" + filter + ")";
    }
    const char *title = textOf(fileDialog, "TITLE");
    Fl_Group::current(nullptr);
    // FLTK's own chooser, never the desktop's: the same dialog everywhere.
    Fl_File_Chooser chooser(nullptr, pattern.empty() ? nullptr : pattern.c_str(),
                            Fl_File_Chooser::SINGLE, title != nullptr ? title : "");
    chooser.show();
    runModal([&chooser] { return chooser.shown() != 0; });
    const char *chosen = chooser.value();
    if (chosen != nullptr && chosen[0] != '\0')
        fileDialog->texts["VALUE"] = chosen;
}

void IupMessage(const char *title, const char *text)
{
    if (text == nullptr)
        text = "";
    if (layer.messageAnswer != nullptr) {
        layer.messageAnswer(title != nullptr ? title : "", text);
        return;
    }
    fl_open_display();
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    int textWidth = 0;
    int textHeight = 0;
    fl_measure(text, textWidth, textHeight, 0);
    const int buttonHeight = fl_height() + 2 * BUTTON_PAD_Y;
    const int width = std::max(textWidth, MESSAGE_BUTTON_WIDTH) + 2 * MESSAGE_PAD;
    const int height = textHeight + buttonHeight + 3 * MESSAGE_PAD;

    Fl_Group::current(nullptr);
    Fl_Window box(width, height);
    box.copy_label(title != nullptr ? title : "");
    MessageText message(MESSAGE_PAD, MESSAGE_PAD, textWidth, textHeight, text);
    Fl_Return_Button ok(width - MESSAGE_PAD - MESSAGE_BUTTON_WIDTH,
                        height - MESSAGE_PAD - buttonHeight, MESSAGE_BUTTON_WIDTH, buttonHeight,
                        "OK");
    ok.callback([](Fl_Widget *button, void *) { button->window()->hide(); });
    box.end();
    box.set_modal();
    centre(&box);
    box.show();
    runModal([&box] { return box.shown() != 0; });
    Fl_Group::current(nullptr);
}

void guiAnswerFileDialogs(GuiFileAnswer answer) { layer.fileAnswer = answer; }

void guiAnswerMessages(GuiMessageAnswer answer) { layer.messageAnswer = answer; }

Icallback guiRegisteredFunction(const char *name)
{
    GLINT_ASSERT(name != nullptr);
    return findFunction(name);
}
