#!/bin/sh
# The host serves only callers whose origin holds the product's extension id,
# which a test extension cannot have. The browser test's host manifest names
# this launcher, which starts the host under test with the browser's
# arguments plus that origin.
exec "$TAVMO_BROWSER_TEST_HOST" "$@" "chrome-extension://gdlpkaomnfhcebijgdlpkaomnfhcebij/"
