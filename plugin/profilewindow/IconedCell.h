// The table cell of the profile window's icon column: it draws the item's
// decoration (the file-exists icon) at 16 by 16 pixels, 3 pixels from the
// cell's left edge and at its top, and nothing else besides the view's
// selection background.
#pragma once

#include <QStyledItemDelegate>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class IconedCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kIconSize = 16;
    static constexpr int kIconInset = 3;

    explicit IconedCell(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Draws `image` scaled to 16 by 16 at (frame x + 3, frame y); a null
    // image draws nothing.
    static void drawInteriorWithFrame(QPainter* painter, const QRect& frame, const QImage& image);
};

// The item's decoration as an image: a QImage, QPixmap or QIcon value; null
// for anything else.
QImage decorationImage(const QVariant& value);

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
