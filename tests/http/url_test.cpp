#include "http/url.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace tsm {
namespace {

// What the page request sees of an address: host, host with port, port, path.
struct AddressCase {
  const char* url;
  const char* host;
  const char* hostWithPort;
  int32_t port;
  const char* path;
};

const AddressCase kAddresses[] = {
    {"http://shop.example.com/a/b.html?x=1&y=2", "shop.example.com", "shop.example.com", 80,
     "/a/b.html?x=1&y=2"},
    {"https://shop.example.com/", "shop.example.com", "shop.example.com", 443, "/"},
    {"HTTPS://SHOP.Example.COM:8443/Dir/Page.aspx?Q=A", "shop.example.com", "shop.example.com:8443",
     8443, "/Dir/Page.aspx?Q=A"},
    {"shop.example.com", "shop.example.com", "shop.example.com", 80, "/"},
    {"shop.example.com:8080/login?next=/home", "shop.example.com", "shop.example.com:8080", 8080,
     "/login?next=/home"},
    {"http://192.0.2.10:8000", "192.0.2.10", "192.0.2.10:8000", 8000, "/"},
    // Only "/" ends the host: a query without a path stays inside it.
    {"https://example.com?x=1", "example.com?x=1", "example.com?x=1", 443, "/"},
    // A colon without digits is port 0, not the scheme's default.
    {"http://shop.example.com:/p", "shop.example.com", "shop.example.com:", 0, "/p"},
    {"https://shop.example.com:/p", "shop.example.com", "shop.example.com:", 0, "/p"},
    {"HTTP://SHOP.EXAMPLE.COM/INDEX.HTML", "shop.example.com", "shop.example.com", 80,
     "/INDEX.HTML"},
    // Without a scheme, a later "http://" (here in the query) names the host.
    {"shop.example.com/?to=http://other.example.org/x", "other.example.org", "other.example.org",
     80, "/x"},
    {"", "", "", 80, "/"},
    // The path search starts at the host's first occurrence, here inside "http".
    {"http://t/x", "t", "t", 80, "//t/x"},
    // Only ASCII letters fold: the second byte 0x41 of a double-byte character
    // stays upper case, and the path is still found behind the host.
    {"HTTP://\xB0\x41.COM/P", "\xB0\x41.com", "\xB0\x41.com", 80, "/P"},
    // Only the first five bytes decide the default port.
    {"httpshop.example.com/", "httpshop.example.com", "httpshop.example.com", 443, "/"},
    // Another scheme is not recognised: "http://" goes in front of it.
    {"ftp://files.example.com/a", "ftp", "ftp:", 0, "//files.example.com/a"},
    // The port text is read as far as it has digits.
    {"http://q:8080x/", "q", "q:8080x", 8080, "/"},
};

TEST(UrlHost, AddressModeTable) {
  for (const AddressCase& c : kAddresses) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(UrlHost(c.url).bytes(), c.host);
    EXPECT_EQ(UrlHost(c.url, /*rootOnly=*/false, /*keepPort=*/true).bytes(), c.hostWithPort);
  }
}

TEST(UrlPort, AddressTable) {
  for (const AddressCase& c : kAddresses) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(UrlPort(c.url), c.port);
  }
}

TEST(UrlPath, AddressTable) {
  for (const AddressCase& c : kAddresses) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(UrlPath(c.url).bytes(), c.path);
  }
}

TEST(UrlSplitting, LeavesTheAddressUnchanged) {
  const Text url = "HTTPS://SHOP.Example.COM:8443/Dir";
  UrlHost(url, true, true, 1);
  UrlPort(url);
  UrlPath(url);
  EXPECT_EQ(url.bytes(), "HTTPS://SHOP.Example.COM:8443/Dir");
}

// The switches of UrlHost; labelLevels left out runs the address mode.
struct SwitchCase {
  const char* url;
  bool rootOnly;
  bool keepPort;
  std::optional<int32_t> labelLevels;
  const char* host;
};

const SwitchCase kSwitches[] = {
    {"http://a.b.c.shop.example.com/p", false, false, std::nullopt, "a.b.c.shop.example.com"},
    {"http://a.b.c.shop.example.com/p", true, false, std::nullopt, "example.com"},
    // Supplied at all, even as 0, labelLevels selects the label mode.
    {"http://a.b.c.shop.example.com/p", false, false, 0, "example.com"},
    {"http://a.b.c.shop.example.com/p", true, false, 0, "com"},
    {"http://a.b.c.shop.example.com/p", false, false, 1, "shop.example.com"},
    {"http://a.b.c.shop.example.com/p", true, false, 1, "example.com"},
    {"http://a.b.c.shop.example.com/p", false, false, 2, "c.shop.example.com"},
    {"http://a.b.c.shop.example.com/p", true, false, 2, "shop.example.com"},
    {"http://a.b.c.shop.example.com/p", false, false, -3, "example.com"},
    // Too few dots: the host comes back whole.
    {"shop.example.com", false, false, 2, "shop.example.com"},
    {"shop.example.com", true, false, 2, "shop.example.com"},
    {"shop.example.com", true, false, std::nullopt, "example.com"},
    {"a.b.c", false, false, INT_MAX, "a.b.c"},
    {"a.b.c", true, false, INT_MAX, "a.b.c"},
    // A host without dots is never shortened.
    {"http://localhost/x", true, false, std::nullopt, "localhost"},
    {"http://localhost/x", false, false, 0, "localhost"},
    {"http://localhost/x", true, false, 0, "localhost"},
    // A dot that is the last byte is never counted.
    {"example.com.", true, false, 0, "com."},
    {"example.com.", false, false, 0, "example.com."},
    // The label mode deletes every scheme marker and cuts at the first "/".
    {"shop.example.com/?to=http://other.example.org/x", false, false, 0, "example.com"},
    {"x.https://y.example.com/", false, false, 0, "example.com"},
    {"", true, false, 0, ""},
    {"", false, false, 0, ""},
    // The port is cut after the labels are chosen, or kept.
    {"HTTPS://A.B.Example.COM:8443/x", false, false, 1, "b.example.com"},
    {"HTTPS://A.B.Example.COM:8443/x", false, true, 1, "b.example.com:8443"},
    {"shop.example.com:8080/login", true, true, std::nullopt, "example.com:8080"},
    {"shop.example.com:8080/login", true, false, std::nullopt, "example.com"},
};

TEST(UrlHost, SwitchTable) {
  for (const SwitchCase& c : kSwitches) {
    SCOPED_TRACE(std::string(c.url) + " rootOnly=" + std::to_string(c.rootOnly) +
                 " keepPort=" + std::to_string(c.keepPort) +
                 " labelLevels=" + (c.labelLevels ? std::to_string(*c.labelLevels) : "absent"));
    EXPECT_EQ(UrlHost(c.url, c.rootOnly, c.keepPort, c.labelLevels).bytes(), c.host);
  }
}

}  // namespace
}  // namespace tsm
