#pragma once

#include <QFont>
#include <QIcon>
#include <QString>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QRect;
class QWidget;

// Small pieces the three windows share.
class QDragEnterEvent;
class QDropEvent;

namespace zorvane::qt {

// The program's own texts are bytes in UTF-8; CR LF becomes a line break.
QString ToQString(const std::string& text);

// Takes a drag that carries local files or folders; a drop of them is accepted and gives them
// in order (nothing for any other drop).
void AcceptFileDrag(QDragEnterEvent* event);
std::vector<std::string> TakeDroppedFiles(QDropEvent* event);
std::string ToStdString(const QString& text);

// Courier New where it exists, otherwise the system's fixed-pitch font.
QFont FixedPitchFont();

// A caption with line breaks where it would not fit `width` pixels in `font`, for option
// buttons, which do not wrap their text themselves.
QString WrappedCaption(const QString& caption, const QFont& font, int width);

// A label with the given object name and place (in pixels), its text at the top left and
// wrapped at its width.
QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry);

// `text` as `label` shows it whole: wrapped at its width, or, where the wrapped lines would not
// fit its height, each line too wide for it shortened in its middle, so that a long folder
// keeps its beginning and its end.
QString TextFittingLabel(const QString& text, const QLabel& label);

// A horizontal line from (left, y) to (right, y), in twips.
QFrame* MakeLine(QWidget* parent, const char* name, int left, int right, int y);

// The program's icon: a terrain hex.
QIcon ProgramIcon();

}  // namespace zorvane::qt
