#pragma once

// Ids of the main dialog's controls and of the About box command: the window lays out its
// controls under these ids, and its tests find them by them.

inline constexpr int IDM_ABOUTBOX = 16;

inline constexpr int IDC_LISTEN_CONNECT = 1000;
inline constexpr int IDC_LOG = 1001;
inline constexpr int IDC_MODE_GROUP = 1002;
inline constexpr int IDC_MODE_SERVER = 1003;
inline constexpr int IDC_MODE_CLIENT = 1004;
inline constexpr int IDC_CLOSE_COM = 1005;
inline constexpr int IDC_CHAT_EDIT = 1006;
inline constexpr int IDC_SEND = 1007;
inline constexpr int IDC_PORT = 1009;
inline constexpr int IDC_ADDRESS = 1010;
inline constexpr int IDC_STATUS = 1011;
inline constexpr int IDC_ADDRESS_GROUP = 1012;
inline constexpr int IDC_PORT_LABEL = 1013;
inline constexpr int IDC_ADDRESS_LABEL = 1014;
inline constexpr int IDC_HIDE_SHOW = 1015;
inline constexpr int IDC_ACCEPT = 1016;
inline constexpr int IDC_RANDOMIZE = 1017;
inline constexpr int IDC_GENERATOR_GROUP = 1018;
inline constexpr int IDC_REPEAT_FLEET = 1019;
