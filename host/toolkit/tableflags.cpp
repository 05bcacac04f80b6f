#include "tableflags.h"

#include <terminalhost/uiresource.h>

#include <QHeaderView>
#include <QTableView>

namespace {
const char kFontKey[] = "fnt_default_normal";
}

void CTableFlags::setUpView(QTableView* view, int flags)
{
    QHeaderView* header = view->horizontalHeader();
    header->setVisible(flags & Flag_HeaderVisible);
    header->setSectionsMovable(flags & Flag_ColumnMove);
    header->setSectionResizeMode((flags & Flag_ColumnResize) ? QHeaderView::Interactive : QHeaderView::Fixed);
    view->setSelectionBehavior((flags & Flag_RowSelect) ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    view->setSelectionMode((flags & Flag_MultiSelect) ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    view->setShowGrid(flags & Flag_GridLines);
    view->setWordWrap(flags & Flag_WordWrap);
    view->setMouseTracking(flags & Flag_HoverRow);
    view->setAlternatingRowColors(flags & Flag_AlternateRows);
}

QString CTableFlags::tableStyleSheet(int flags)
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(QColor::HexArgb); };
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    const QString hover = (flags & Flag_HoverRow)
        ? QStringLiteral("QTableView::item:hover { background: %1; }").arg(color("clr_table_hover_background"))
        : QString();
    return QStringLiteral("QTableView { background: %1; alternate-background-color: %2; color: %3; gridline-color: %4; border: none;"
                          " selection-background-color: %5; selection-color: %3; font-family: \"%6\"; font-size: %7px; }"
                          "QHeaderView::section { background: %8; color: %3; border: none; border-right: 1px solid %4;"
                          " border-bottom: 1px solid %4; padding: 4px; font-family: \"%6\"; font-size: %7px; }"
                          "QTableCornerButton::section { background: %8; border: none; }")
               .arg(color("clr_table_background"), color("clr_table_alternate_background"), color("clr_table_text"),
                    color("clr_table_grid"), color("clr_table_selected_background"), font.family())
               .arg(font.pixelSize())
               .arg(color("clr_table_header_background"))
        + hover;
}
