#pragma once

#include <terminalhost/quoterdata.h>

#include <QMap>
#include <QMultiMap>
#include <QString>
#include <QVector>

#include <memory>

/// The announcements of one exchange by key; a key may hold several, the most recently stored first.
using NoticeMultiMap = QMultiMap<qint64, std::shared_ptr<Notice>>;
/// Announcements by exchange ("SH", "SZ"). Both levels are implicitly shared, so a copy is cheap.
using NoticeStore = QMap<QString, NoticeMultiMap>;
/// Announcements in display order, largest key first.
using NoticeList = QVector<std::shared_ptr<Notice>>;

/**
 * Stores notice in the market's entry under its key, unless the entry already holds a record with
 * that key and a byte-for-byte equal title. True when it was stored.
 */
bool insertNotice(NoticeStore& store, const QString& market, const std::shared_ptr<Notice>& notice);

/**
 * Every announcement of the store in one list, largest key first. Records with equal keys keep the
 * exchanges' order ("SH" before "SZ") and, within an exchange, the store's order. Linear in the
 * number stored: the exchanges' maps are merged, not re-sorted.
 */
NoticeList noticeDisplayList(const NoticeStore& store);

/**
 * @brief Whose turn it is in the announcement ticker: important and ordinary announcements take
 * turns while both kinds exist, and each kind walks its list from the start.
 */
struct CNoticeRotation {
    int importantPosition = -1;
    int ordinaryPosition = -1;
    bool showingImportant = false; ///< the last turn went to the important list

    /// Both lists start again from their first entry; whose turn is next stays as it was.
    void restart() { importantPosition = ordinaryPosition = -1; }
    /**
     * Takes the next turn with lists of these sizes and returns the position to show in the list
     * showingImportant names; -1 when both are empty (nothing changes then).
     */
    int advance(int importantCount, int ordinaryCount);
};
