// Writes the page's index.html with the form as the program draws it at start: runs the site's
// script under Node, with a stand-in for the few parts of the document it touches, up to its
// first wait for an action (the clock shows no time before its first tick, so the markup does
// not depend on when it is built). All that frame needs is inside the file, since Firefox lays
// nothing out before a linked style sheet has come and paints nothing before its load event,
// which waits for a linked script. Declarations the elements share become classes.
// usage: node render_start.js TEMPLATE.html SITE-SCRIPT.js FACES.css OUT.html
'use strict';
const [crypto, fs, vm] = ['crypto', 'fs', 'vm'].map(require);

const [template, script, faces, out] = process.argv.slice(2);
// An element keeps what it is given and writes itself out as HTML.
class Element {
  constructor(tag) {
    Object.assign(this, { tag, tagName: tag.toUpperCase(), attributes: new Map(),
                          css: new Map(), children: [], textContent: '' });
    this.style = { setProperty: (name, value) =>
      value ? this.css.set(name, value) : this.css.delete(name) };
  }
  setAttribute(name, value) {
    if (name !== 'style') return void this.attributes.set(name, value);
    for (const declaration of value.split(';').filter(Boolean))
      this.style.setProperty(...declaration.split(/:(.*)/));
  }
  set value(value) { this.setAttribute('value', value); }
  set checked(on) { this.attributes[on ? 'set' : 'delete']('checked', ''); }
  appendChild(child) { this.children.push(child); return child; }
  replaceChildren() { this.children = []; }
  setSelectionRange() {}
  addEventListener() {}
  html() {
    const css = [...this.css].map((d) => d.join(':')).join(';');
    const open = '<' + this.tag + [...this.attributes, ...(css ? [['style', css]] : [])].map(
      ([name, value]) => ' ' + name + (value && '="' + escape(value) + '"')).join('') + '>';
    if (this.tag === 'input') return open;
    return open + this.children.map((child) => child.html()).join('') +
           escape(this.textContent) + '</' + this.tag + '>';
  }
}
const client = new Element('div');
client.setAttribute('id', 'client');
const document = { title: '', addEventListener() {}, createElement: (tag) => new Element(tag),
                   getElementById: (id) => id === 'client' ? client : new Element('div') };
// What the program asks for later (the first focus, in the next frame) is not the markup's.
const context = { document, console, atob, TextDecoder, requestAnimationFrame() {},
                  setTimeout() {}, setInterval() {}, clearInterval() {} };
context.window = context.self = context;
vm.runInContext(fs.readFileSync(script, 'utf8'), vm.createContext(context));
if (!client.children.length) throw new Error('the program made no elements at start');
client.setAttribute('inert', ''); // until the script takes it over

const looks = new Map(); // shared declarations -> class
for (const element of client.children) {
  const look = [...element.css].filter(([name]) => !/^(left|top|z-index)$/.test(name));
  const key = look.map((d) => d.join(':')).join(';');
  element.setAttribute('class', looks.get(key) || looks.set(key, 'l' + looks.size).get(key));
  look.forEach(([name]) => element.css.delete(name));
  // An inert form is hidden from screen readers: names and roles wait for the program.
  for (const name of element.attributes.keys())
    if (/^(aria-|role$)/.test(name)) element.attributes.delete(name);
}
const escape = (s) => s.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');
let page = fs.readFileSync(template, 'utf8');
const code = /<script>([^]*)<\/script>/.exec(page)[1]; // the template's one script
for (const [place, text] of [
  ['<title>Pelmora</title>', '<title>' + escape(document.title) + '</title>'],
  ["script-src 'self'", "script-src 'self' 'sha256-" +
    crypto.createHash('sha256').update(code).digest('base64') + "'"],
  ['<style>\n', '<style>\n' + fs.readFileSync(faces, 'utf8') +
    [...looks].map(([look, name]) => `#client>.${name}{${look}}\n`).join('')],
  ['<div id="client"></div>', client.html()]]) {
  if (!page.includes(place)) throw new Error(template + ' has no ' + place);
  page = page.replace(place, () => text);
}
fs.writeFileSync(out, page);
