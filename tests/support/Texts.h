#pragma once

#include <QString>

// The operator-facing texts the end-to-end tests wait for, written out once.
namespace testing::texts {

inline const QString Connected = QStringLiteral("连接成功!");
inline const QString SetDone = QStringLiteral("设置扩展串口数据成功!请重启设备应用新的通迅波特率!");
inline const QString Synced = QStringLiteral("扩展串口数据同步成功!");
inline const QString NetSet = QStringLiteral("网络参数设置成功,请重新上电初始化网络参数!");
inline const QString Restored = QStringLiteral("还原设置成功");
inline const QString Lost = QStringLiteral("串口连接已断开,请检查设备和连接线后重新打开串口!");

} // namespace testing::texts
