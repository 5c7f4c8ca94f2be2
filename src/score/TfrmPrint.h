#pragma once

#include <QWidget>

namespace orvane {

class TImage;

// The preview window of a printed page: the page picture is composed here and printed from
// here; the window itself is never shown.
class TfrmPrint : public QWidget {
    Q_OBJECT

public:
    explicit TfrmPrint(QWidget* parent = nullptr);
    TImage* imgPreview;
};

}  // namespace orvane
