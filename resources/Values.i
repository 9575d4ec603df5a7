[Setup]
ConfigDirectory=
AppVersion=
