// A wait for a state that no event announces: asked again every few milliseconds until it holds,
// and a failure that names it once the deadline has passed.
export async function until(condition, what, { seconds = 30, every = 50 } = {}) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await condition();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`waited ${seconds} s in vain: ${what}`);
    await new Promise((resolve) => setTimeout(resolve, every));
  }
}

// A promise of a state some event brings, failing with what it waited for once the deadline has
// passed.
export function within(promise, what, seconds = 30) {
  let timer;
  const late = new Promise((resolve, reject) => {
    timer = setTimeout(() => reject(new Error(`waited ${seconds} s in vain: ${what}`)), seconds * 1000);
  });
  return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}
