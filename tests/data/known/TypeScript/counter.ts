// Counts the lines of a text, as the engine does.
export interface Counts {
  code: number;
  comment: number; // comment lines
}

/* Lines are split on LF only;

   a CR stays on its line. */
export function split(text: string): string[] {
  return text.split("\n");
}

const marker = "// not a comment";
const other = '/* nor this */';
const tpl = `first line
// still the template
last line`;
export const empty: Counts = { code: 0, comment: 0 }; /* zero */
