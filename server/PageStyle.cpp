#include "server/PageStyle.h"

#include "server/Crypto.h"

namespace server {

const std::string& PageStyle::Css() {
  static const std::string css = R"css(*, *::before, *::after { box-sizing: border-box; }
html { -webkit-text-size-adjust: 100%; text-size-adjust: 100%; }
body {
  margin: 0; background: #f6f5f2; color: #222;
  font: 16px/1.5 system-ui, -apple-system, "Segoe UI", Roboto, "DejaVu Sans", sans-serif;
  overflow-wrap: anywhere;
}
a { color: #1f5f8b; }
a:hover, a:focus { color: #0d3d5e; }
img { max-width: 100%; height: auto; }
.wrap { max-width: 1100px; margin: 0 auto; padding: 0 16px; }
.top { background: #fff; border-bottom: 1px solid #e2e0da; padding: 18px 0 10px; }
.top h1 { margin: 0; font-size: 1.6rem; line-height: 1.25; }
.top h1 a { color: inherit; text-decoration: none; }
.top .subtitle { margin: 2px 0 0; color: #666; }
.top nav { margin-top: 8px; font-size: .95rem; }
.top nav a { margin-right: 16px; }
main.wrap { padding-top: 16px; padding-bottom: 24px; }
h2 { font-size: 1.3rem; line-height: 1.3; margin: 4px 0 12px; }
.note { color: #666; }
.grid {
  list-style: none; margin: 0; padding: 0;
  display: grid; gap: 4px; grid-template-columns: repeat(auto-fill, minmax(110px, 1fr));
}
.grid li { position: relative; background: #ddd; aspect-ratio: 1 / 1; overflow: hidden; }
.grid a { display: block; width: 100%; height: 100%; }
.grid img { display: block; width: 100%; height: 100%; object-fit: cover; }
.grid .label {
  position: absolute; left: 0; right: 0; bottom: 0; padding: 16px 6px 4px;
  background: linear-gradient(transparent, rgba(0, 0, 0, .6)); color: #fff; font-size: .8rem;
  white-space: nowrap; overflow: hidden; text-overflow: ellipsis;
}
.grid .label .count { display: block; opacity: .85; }
.pager {
  display: flex; flex-wrap: wrap; justify-content: space-between; align-items: center; gap: 8px; margin: 20px 0 0;
}
.pager a, .pager span { padding: 8px 0; }
.pager .count { color: #666; font-size: .9rem; }
.entry { max-width: 760px; }
.photo { margin: 0 0 12px; }
.photo img { display: inline-block; background: #ddd; box-shadow: 0 1px 4px rgba(0, 0, 0, .2); }
.caption { font-size: 1.05rem; margin: 0 0 8px; }
.byline { color: #666; font-size: .9rem; margin: 0 0 8px; }
.comments { margin-top: 28px; border-top: 1px solid #e2e0da; padding-top: 8px; }
.comments h3 { font-size: 1.1rem; }
.comments ol { list-style: none; margin: 0; padding: 0; }
.comments li {
  background: #fff; border: 1px solid #e2e0da; border-radius: 6px; padding: 10px 12px; margin-bottom: 8px;
}
.comments li p { margin: 0 0 4px; }
.lock {
  max-width: 420px; margin: 24px auto; background: #fff; border: 1px solid #e2e0da; border-radius: 8px; padding: 20px;
}
.lock label { display: block; font-weight: 600; margin-bottom: 6px; }
.lock input {
  width: 100%; font: inherit; padding: 10px; border: 1px solid #aaa; border-radius: 6px; margin-bottom: 12px;
}
.lock button {
  font: inherit; padding: 10px 18px; border: 0; border-radius: 6px; background: #1f5f8b; color: #fff; cursor: pointer;
}
.error { color: #a40000; font-weight: 600; }
footer { color: #888; font-size: .85rem; padding: 12px 0 24px; }
@media (min-width: 700px) {
  .wrap { padding: 0 24px; }
  .top h1 { font-size: 2rem; }
  .grid { gap: 8px; grid-template-columns: repeat(auto-fill, minmax(180px, 1fr)); }
}
)css";
  return css;
}

const std::string& PageStyle::ETag() {
  static const std::string tag = "\"" + Crypto::Sha1Base64(Css()).substr(0, 16) + "\"";
  return tag;
}

}  // namespace server
