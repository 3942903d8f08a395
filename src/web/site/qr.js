// QR codes drawn on the page itself, large enough for a tablet's camera at the back of a room, with
// qrcode-generator (built into the site), which comes only when a code is first wanted.
let qrcode = null;

export async function loadCodes() {
  if (qrcode) return;
  try {
    qrcode = (await import('./qrcode.js')).default;
  } catch {
    // Without it a link still shows and copies; the code says it cannot be drawn.
    qrcode = () => {
      throw new Error('no QR library');
    };
  }
}

// Each module a whole number of device pixels, as large as fits comfortably on the screen: at
// 1920×1080 well over 8 CSS px.
export function drawCode(canvas, text) {
  const code = qrcode(0, 'M');
  code.addData(text);
  code.make();
  const modules = code.getModuleCount();
  const quiet = 4;
  const side = modules + 2 * quiet;
  // Inside the panel, which takes at most 95% of the width with its padding and border.
  const room = Math.min(innerHeight * 0.6, innerWidth * 0.95 - 48);
  const cssPerModule = Math.max(2, Math.floor(room / side));
  const ratio = window.devicePixelRatio || 1;
  const devicePerModule = Math.max(1, Math.round(cssPerModule * ratio));
  canvas.width = canvas.height = side * devicePerModule;
  canvas.style.width = canvas.style.height = `${(side * devicePerModule) / ratio}px`;
  canvas.dataset.modules = String(side);
  const g = canvas.getContext('2d');
  g.fillStyle = '#fff';
  g.fillRect(0, 0, canvas.width, canvas.height);
  g.fillStyle = '#000';
  for (let row = 0; row < modules; ++row)
    for (let col = 0; col < modules; ++col)
      if (code.isDark(row, col))
        g.fillRect((col + quiet) * devicePerModule, (row + quiet) * devicePerModule,
          devicePerModule, devicePerModule);
}

