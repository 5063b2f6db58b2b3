#!/bin/sh
# The host serves only callers whose origin holds the product's extension id,
# which a test extension cannot have. The browser test's host manifest names
# this launcher, which starts the host under test with the browser's
# arguments plus that origin ($TAVMO_BROWSER_TEST_ORIGIN), and tells the test
# the host's process id.
[ -n "$TAVMO_BROWSER_TEST_HOST_PID_FILE" ] && echo $$ > "$TAVMO_BROWSER_TEST_HOST_PID_FILE"
exec "$TAVMO_BROWSER_TEST_HOST" "$@" "$TAVMO_BROWSER_TEST_ORIGIN"
