# Who makes the program and which version the packages carry: the Debian package (CPack) and the
# Windows setup program (its "アプリと機能" entry and file properties) both take them from here.
set(ZEPA_PACKAGE_VERSION 1.0.0)
set(ZEPA_PACKAGE_VENDOR VORNEK)
