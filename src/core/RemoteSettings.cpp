#include "core/RemoteSettings.h"

#include "core/IniFile.h"

namespace {

constexpr std::string_view kRemote = "Remote";

}  // namespace

TRemoteSettings ReadRemoteSettings(const TIniFile& ini) {
  const TRemoteSettings defaults;
  TRemoteSettings settings;
  settings.Enabled = ini.ReadBool(kRemote, "Enabled", defaults.Enabled);
  settings.HttpPort = ini.ReadInteger(kRemote, "HTTP Port", defaults.HttpPort);
  settings.TcpPort = ini.ReadInteger(kRemote, "TCP Port", defaults.TcpPort);
  settings.Bind = ini.ReadString(kRemote, "Bind", defaults.Bind);
  settings.Token = ini.ReadString(kRemote, "Token", defaults.Token);
  return settings;
}
