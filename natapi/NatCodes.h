// The numbers the NAT-traversal library's calls return and store, apart from its calling
// conventions, so the portable connect decision reads them from the same place.
#pragma once

// What NATSocket_GetLastError returns, by the library's own name for it, so that the five
// declarations read as the library declares them.
typedef int _NAT_traversal_error_code;  // NOLINT(bugprone-reserved-identifier)
// What NATSocket_HostNameConnect stores through its fourth argument when it connects. The
// library's own declaration gives that argument the error-code type; both are a plain int.
typedef int NatConnectKind;

// What NATSocket_HostNameConnect returns when it connects; anything else is a failure, and
// NATSocket_GetLastError tells which.
constexpr int kNatConnected = 1;

constexpr NatConnectKind kNatKindPeerToPeer = 48;  // any other kind is a relay
constexpr _NAT_traversal_error_code kNatErrorDeviceNotExist = 15;
constexpr _NAT_traversal_error_code kNatErrorCaptcha = 17;
