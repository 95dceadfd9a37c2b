#include "aptconf/sourcelist.h"

#include <QFileInfo>

SourceItem::SourceItem(const SourceEntry& entry) : QTreeWidgetItem(QTreeWidgetItem::Type)
{
    setEntry(entry);
}

SourceItem::~SourceItem() = default;

void SourceItem::setEntry(const SourceEntry& entry)
{
    m_entry = entry;
    setText(1, m_entry.type);
    setText(2, m_entry.uri);
    setText(3, m_entry.distribution);
    setText(4, m_entry.sections.join(QLatin1Char(' ')));
    setText(5, QFileInfo(m_entry.file).fileName());
    setCheckState(0, m_entry.enabled ? Qt::Checked : Qt::Unchecked);
}
