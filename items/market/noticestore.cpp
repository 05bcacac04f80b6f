#include "noticestore.h"

#include <vector>

bool insertNotice(NoticeStore& store, const QString& market, const std::shared_ptr<Notice>& notice)
{
    NoticeMultiMap& entry = store[market];
    const qint64 key = notice->key();
    for (auto it = entry.constFind(key); it != entry.constEnd() && it.key() == key; ++it) {
        if (it.value() && it.value()->title() == notice->title())
            return false;
    }
    entry.insert(key, notice);
    return true;
}

NoticeList noticeDisplayList(const NoticeStore& store)
{
    // One cursor per exchange, walking its map from the largest key down.
    struct Cursor {
        NoticeMultiMap::const_iterator first;
        NoticeMultiMap::const_iterator next; ///< one past the next record to take
    };
    std::vector<Cursor> cursors;
    int total = 0;
    for (auto market = store.cbegin(); market != store.cend(); ++market) {
        if (market->isEmpty())
            continue;
        cursors.push_back({market->cbegin(), market->cend()});
        total += market->size();
    }
    NoticeList list;
    list.reserve(total);
    std::vector<std::shared_ptr<Notice>> group;
    for (;;) {
        bool found = false;
        qint64 key = 0;
        for (const Cursor& cursor : cursors) {
            if (cursor.next == cursor.first)
                continue;
            const qint64 candidate = std::prev(cursor.next).key();
            if (!found || candidate > key)
                key = candidate;
            found = true;
        }
        if (!found)
            break;
        for (Cursor& cursor : cursors) {
            // Walking down meets a key's records last-first: gather them, then keep the store's order.
            group.clear();
            while (cursor.next != cursor.first && std::prev(cursor.next).key() == key) {
                --cursor.next;
                group.push_back(cursor.next.value());
            }
            for (auto it = group.rbegin(); it != group.rend(); ++it)
                list.append(*it);
        }
    }
    return list;
}

int CNoticeRotation::advance(int importantCount, int ordinaryCount)
{
    if (importantCount <= 0 && ordinaryCount <= 0)
        return -1;
    if (importantCount <= 0)
        showingImportant = false;
    else if (ordinaryCount <= 0)
        showingImportant = true;
    else
        showingImportant = !showingImportant;
    if (showingImportant) {
        importantPosition = (importantPosition + 1) % importantCount;
        return importantPosition;
    }
    ordinaryPosition = (ordinaryPosition + 1) % ordinaryCount;
    return ordinaryPosition;
}
