#include "plugin/profilewindow/IconedCell.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

IconedCell::IconedCell(QObject* parent) : QStyledItemDelegate(parent) {}

QImage decorationImage(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QImage:
        return value.value<QImage>();
    case QMetaType::QPixmap:
        return value.value<QPixmap>().toImage();
    case QMetaType::QIcon:
        return value.value<QIcon>().pixmap(IconedCell::kIconSize, IconedCell::kIconSize).toImage();
    default:
        return {};
    }
}

void IconedCell::drawInteriorWithFrame(QPainter* painter, const QRect& frame, const QImage& image)
{
    if (image.isNull() || !painter)
        return;
    painter->save();
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(QRect(frame.x() + kIconInset, frame.y(), kIconSize, kIconSize), image);
    painter->restore();
}

void IconedCell::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // Only the selection and hover background of the view; no text, no
    // focus frame.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
    drawInteriorWithFrame(painter, option.rect, decorationImage(index.data(Qt::DecorationRole)));
}

QSize IconedCell::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return {kIconInset + kIconSize + kIconInset, kIconSize};
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
