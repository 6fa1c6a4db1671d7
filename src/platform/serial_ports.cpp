#include "platform/serial_ports.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <map>

namespace vex {

std::vector<SerialPortEntry> systemSerialPorts() {
    // The stable names of USB adapters point at their device nodes.
    std::map<QString, QString> byId;
    const QDir ids(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : ids.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty() && !byId.count(target)) byId[target] = link.absoluteFilePath();
    }
    std::vector<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString node = info.systemLocation();
        const QString canonical = QFileInfo(node).canonicalFilePath();
        const auto id = byId.find(canonical.isEmpty() ? node : canonical);
        QString description = info.description();
        if (!info.manufacturer().isEmpty() && !description.contains(info.manufacturer()))
            description += QStringLiteral(" (%1)").arg(info.manufacturer());
        const QFileInfo file(node);
        SerialPortEntry entry;
        entry.systemPath = node.toStdString();
        entry.path = id != byId.end() ? id->second.toStdString() : entry.systemPath;
        entry.description = description.toStdString();
        entry.permitted = !file.exists() || (file.isReadable() && file.isWritable());
        ports.push_back(std::move(entry));
    }
    std::sort(ports.begin(), ports.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        return naturalLess(a.systemPath, b.systemPath);
    });
    return ports;
}

}  // namespace vex
