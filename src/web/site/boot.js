// The page's first module, small and run as soon as it arrives (it touches nothing of the page):
// it asks for the lesson's core and font and has the core compiled as its bytes come in, while the
// rest of the page's modules are still on their way.

// The core's compiled code. A server that does not send .wasm as application/wasm cannot have it
// compiled as it streams in: it is compiled from the whole file instead, fetched once all the same.
export const coreCode = fetch('kansu.wasm', { credentials: 'same-origin' }).then((response) => {
  if (!response.ok) throw new Error(`kansu.wasm: ${response.status}`);
  const type = (response.headers.get('Content-Type') ?? '').split(';')[0].trim().toLowerCase();
  return type === 'application/wasm'
    ? WebAssembly.compileStreaming(response)
    : response.arrayBuffer().then((bytes) => WebAssembly.compile(bytes));
});
// Taken when the core is started; until then its failure is no one's to report.
coreCode.catch(() => {});

// The font's bytes, for the core and the page alike; none when it does not come, which the core
// then says, rather than wait for ever.
export const fontBytes = fetch('kansu-gothic.ttf')
  .then((response) => (response.ok ? response.arrayBuffer() : new ArrayBuffer(0)))
  .catch(() => new ArrayBuffer(0));

// The page's face made of them as soon as they come, while the rest of the page is on its way (the
// browser checks a font as it takes it, which takes a while); the page shows it once the core has
// found the font sound.
export const pageFace = fontBytes.then((bytes) => new FontFace('Kansu Gothic', bytes));
pageFace.catch(() => {});
