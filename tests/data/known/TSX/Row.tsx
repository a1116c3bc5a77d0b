// One row of the result list.
import React from "react";

interface Props {
  path: string; // shown as given
  code: number;
}

/* The row keeps no state;

   the list owns it. */
export function Row({ path, code }: Props) {
  const title = `${path}: ${code} // lines`;
  const help = `first line
  // still the template`;
  return (
    <tr title={title}>
      <td>{path}</td> {/* the path */}
      <td className="num">{code}</td>
    </tr>
  );
}
