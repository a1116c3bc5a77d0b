// Type declarations of the engine module.
export declare function count(path: string): Promise<Counts>;

/**
 * The counts of one file.
 */
export interface Counts {
  code: number; // code lines
  comment: number;
  mixed: number;
  blank: number;
}
