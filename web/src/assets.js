// The addresses of the page's files, relative to the page. The site build
// (tools/build-site.mjs) puts in the hashed names it wrote; each name changes
// with its content, so a browser may keep every one of them for good.
/* global TORAVEL_ASSETS */
export const assets = TORAVEL_ASSETS;
