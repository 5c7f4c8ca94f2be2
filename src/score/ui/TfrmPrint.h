#pragma once

#include <QWidget>

namespace orvane {

class TImage;

// The preview window of a printed page: the page picture is composed here and printed from
// here; the window itself is never shown. Its one picture control fills the window and shows
// the picture centred.
class TfrmPrint : public QWidget {
    Q_OBJECT

public:
    explicit TfrmPrint(QWidget* parent = nullptr);
    TImage* imgPreview;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace orvane
